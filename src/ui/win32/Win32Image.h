#pragma once

#include "Win32Control.h"

namespace surftally {

// A picture of the display strip (the strip's background, the help window's samples), drawn
// by the strip's own drawing code.
class Win32Image : public Win32Control {
public:
    Win32Image(Win32Toolkit& toolkit, TControl& control);

    void paint(HDC dc) const;

protected:
    void apply(Property property) override;
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace surftally
