#pragma once

#include "ui/win32/Painted.h"

namespace surftally {

// A picture of the display strip (the strip's background, the help window's samples), drawn
// by the strip's own drawing code.
class Win32Image : public Win32Painted {
public:
    Win32Image(Win32Toolkit& toolkit, TControl& control);

    void paint(HDC dc) const override;
};

}  // namespace surftally
