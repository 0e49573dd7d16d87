#pragma once

#include "forms/TControl.h"

namespace surftally {

// A check box whose OnClick runs whenever its checked state changes, clicked by the user or
// set by a program step; setting the state it has runs nothing.
class TCheckBox : public TCaptioned<ControlKind::CheckBox> {
public:
    using TCaptioned::TCaptioned;

    bool Checked() const { return checked_; }
    void setChecked(bool checked) {
        if (checked == checked_) {
            return;
        }
        checked_ = checked;
        notify(Property::Checked);
        fire(OnClick);
    }

    // A click on the box.
    void userToggle() { setChecked(!checked_); }

private:
    void notifyAll() override {
        TControl::notifyAll();
        notify(Property::Checked);
    }

    bool checked_ = false;
};

}  // namespace surftally
