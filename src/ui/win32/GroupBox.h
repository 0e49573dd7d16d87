#pragma once

#include "ui/win32/Painted.h"

namespace surftally {

// A group box drawn by the toolkit: an etched frame, and its caption in the box's font and
// colour on the box's colour (bold blue on silver in the settings). Its controls are child
// windows of it, with bounds relative to it.
class Win32GroupBox : public Win32Painted {
public:
    Win32GroupBox(Win32Toolkit& toolkit, TControl& control);

    COLORREF backgroundColour() const override;
    void paint(HDC dc) const override;
};

}  // namespace surftally
