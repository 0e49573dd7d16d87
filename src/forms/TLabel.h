#pragma once

#include "forms/TControl.h"

namespace surftally {

// A text on the window; opaque when it draws its own background.
class TLabel : public TCaptioned<ControlKind::Label> {
public:
    using TCaptioned::TCaptioned;
    // The field this label names for screen readers, in the label's own words.
    void setFocusControl(TControl& control) { name(control); }
};

}  // namespace surftally
