#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A read-only text, laid out line by line, with a vertical scroll bar.
class QtMemoPeer : public QtControlPeer {
public:
    explicit QtMemoPeer(TControl& control);

protected:
    void apply(Property property) override;
};

}  // namespace surftally
