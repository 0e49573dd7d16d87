#pragma once

#include <cstdint>

namespace surftally {

// Window placement on Windows; a window is given by its handle (HWND, or a toolkit's window
// id that is one).

// Puts the window above every window that is not topmost and shows it, leaving its place
// and size as they are.
void MakeTopmost(std::uintptr_t window);

// Hides the window (and with it a taskbar button it carries).
void HideWindow(std::uintptr_t window);

// Shows the window again, restored from minimised or hidden.
void RestoreWindow(std::uintptr_t window);

bool WindowVisible(std::uintptr_t window);

}  // namespace surftally
