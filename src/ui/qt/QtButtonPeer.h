#pragma once

#include "QtControlPeer.h"

namespace surftally {

class QtButtonPeer : public QtControlPeer {
public:
    explicit QtButtonPeer(TControl& control);

protected:
    void apply(Property property) override;
    void applyFont() override;
};

}  // namespace surftally
