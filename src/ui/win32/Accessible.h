#pragma once

#include <windows.h>

#include <string>

namespace surftally::Win32Accessible {

// Gives a control the name and description that screen readers announce, in place of what
// Windows would make of its text or of the text before it; an empty text keeps Windows' own.
// Until an accessibility client first asks one of our windows for its object (Asked), the
// texts wait here and COM is not loaded: most starts have no such client. Returns false
// where the system keeps no such texts (known once a client has asked).
bool Describe(HWND hwnd, const std::string& name, const std::string& description);

// A client asked a window for its accessible object (WM_GETOBJECT): the waiting texts are
// given to the system before the window answers, and every later Describe at once.
void Asked();

// The window is going: texts still waiting for it are dropped.
void Forget(HWND hwnd);

// How many windows' texts wait for a client, and whether one has asked (tests).
std::size_t Waiting();
bool ClientAsked();

}  // namespace surftally::Win32Accessible
