#pragma once

#include <windows.h>

namespace surftally::Win32Subclass {

// A window's messages through a procedure of ours before its own, as comctl32's
// SetWindowSubclass does, without loading comctl32: the strip shows without it.
using Procedure = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void* data);

// From now on the window's messages go to procedure with data; again on the same window, the
// procedure and data are replaced.
void Install(HWND hwnd, Procedure procedure, void* data);
// The window's messages go straight to its own procedure again.
void Remove(HWND hwnd);
// The window's own processing of a message, for the procedure.
LRESULT Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace surftally::Win32Subclass
