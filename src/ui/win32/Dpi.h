#pragma once

#include <windows.h>

namespace surftally {

// The windows are laid out in the design's pixels at 96 DPI and scaled to each monitor's DPI
// (the program is per-monitor DPI aware). The calls of newer systems are looked up at run
// time, with the system DPI in their place where they are missing.
namespace Win32Dpi {

constexpr int kDesign = 96;

// The DPI of the monitor the window is on.
int ForWindow(HWND window);
// The DPI of the primary monitor, by which screen positions are scaled.
int System();

inline int Scale(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, kDesign);
}
inline int Unscale(int pixels, int dpi) {
    return ::MulDiv(pixels, kDesign, dpi);
}

// The window rectangle around a client rectangle, at that DPI.
void AdjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// A system metric at that DPI.
int Metric(int index, int dpi);

}  // namespace Win32Dpi

}  // namespace surftally
