#pragma once

#include "ui/qt/Control.h"

namespace surftally {

class TSpinEdit;

// A number field with arrows: typing, the arrows and leaving go to the control, which
// decides what the text becomes.
class QtSpinEdit : public QtControl {
public:
    explicit QtSpinEdit(TControl& control);

protected:
    void apply(Property property) override;

private:
    class Box;
    TSpinEdit& spin() const;
};

}  // namespace surftally
