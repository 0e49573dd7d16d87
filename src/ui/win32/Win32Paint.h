#pragma once

#include <windows.h>

#include <functional>

namespace surftally {

// Answers WM_PAINT by drawing the whole client area off screen and copying it in one go, so
// that a text that changes every second does not flicker.
void PaintBuffered(HWND hwnd, const std::function<void(HDC)>& paint);

}  // namespace surftally
