#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A check box; a click toggles the control, which then sets the box.
class QtCheckBoxPeer : public QtControlPeer {
public:
    explicit QtCheckBoxPeer(TControl& control);

protected:
    void apply(Property property) override;
};

}  // namespace surftally
