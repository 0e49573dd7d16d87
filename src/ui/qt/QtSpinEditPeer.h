#pragma once

#include "QtControlPeer.h"

namespace surftally {

class TSpinEdit;

// A number field with arrows: typing, the arrows and leaving go to the control, which
// decides what the text becomes.
class QtSpinEditPeer : public QtControlPeer {
public:
    explicit QtSpinEditPeer(TControl& control);

protected:
    void apply(Property property) override;

private:
    class Box;
    TSpinEdit& spin() const;
};

}  // namespace surftally
