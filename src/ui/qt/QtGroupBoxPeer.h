#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A framed group; its caption in the box's font and colours, on its background colour.
class QtGroupBoxPeer : public QtControlPeer {
public:
    explicit QtGroupBoxPeer(TControl& control);

protected:
    void apply(Property property) override;
    void applyFont() override;
};

}  // namespace surftally
