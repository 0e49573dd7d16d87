#pragma once

#include "ui/win32/Control.h"

namespace surftally {

// A check box that the control's model checks: a click tells the model, which sets the
// state; the box never toggles by itself (BS_CHECKBOX).
class Win32CheckBox : public Win32Control {
public:
    Win32CheckBox(Win32Toolkit& toolkit, TControl& control);

    bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void apply(Property property) override;
};

}  // namespace surftally
