#pragma once

#include "forms/TPaintBox.h"
#include "ui/win32/Painted.h"

namespace surftally {

// A paint box: the shapes its window computes for the box's size, drawn in order with GDI in
// the system's colours, so that a high-contrast scheme keeps the drawing legible.
class Win32PaintBox : public Win32Painted {
public:
    // The system colour a shape of the role is drawn in; the on-line time is a tint of the
    // selection colour, halfway to the window's ground.
    static COLORREF RoleColour(ShapeRole role);

    Win32PaintBox(Win32Toolkit& toolkit, TControl& control);

    void paint(HDC dc, const RECT& client) const override;
};

}  // namespace surftally
