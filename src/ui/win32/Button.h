#pragma once

#include "ui/win32/Control.h"

namespace surftally {

// A push button with the control's font and text colour (the bold buttons, the red Close).
class Win32Button : public Win32Control {
public:
    Win32Button(Win32Toolkit& toolkit, TControl& control);

    bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace surftally
