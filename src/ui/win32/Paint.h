#pragma once

#include <windows.h>

#include <functional>

namespace surftally {

// Answers WM_PAINT by drawing the whole client area off screen and copying it in one go, so
// that a text that changes every second does not flicker.
void PaintBuffered(HWND hwnd, const std::function<void(HDC)>& paint);

// The painting messages of a control that draws itself whole: WM_PAINT buffered, WM_PRINTCLIENT
// into the given DC, and no background erase. True when the message was one of them.
bool HandleOwnPainting(HWND hwnd, UINT message, WPARAM wParam, LRESULT& result,
                       const std::function<void(HDC)>& paint);

}  // namespace surftally
