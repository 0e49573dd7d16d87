#pragma once

#include <windows.h>

#include <string>

namespace surftally::Win32Accessible {

// Gives a control the name and description that screen readers announce, in place of what
// Windows would make of its text or of the text before it; an empty text keeps Windows' own.
// Returns false where the system keeps no such texts.
bool Describe(HWND hwnd, const std::string& name, const std::string& description);

}  // namespace surftally::Win32Accessible
