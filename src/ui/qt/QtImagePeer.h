#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A picture of the display strip, drawn by the strip's own drawing.
class QtImagePeer : public QtControlPeer {
public:
    explicit QtImagePeer(TControl& control);

protected:
    void apply(Property property) override;
};

}  // namespace surftally
