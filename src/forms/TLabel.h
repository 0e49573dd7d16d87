#pragma once

#include "TControl.h"

namespace surftally {

// A text on the window; opaque when it draws its own background.
class TLabel : public TControl {
public:
    TLabel(TApplication& application, TControl* parent, std::string name,
           const std::string& caption)
        : TControl(application, parent, ControlKind::Label, std::move(name)) {
        setCaption(caption);
    }
    // The field this label names for screen readers, in the label's own words.
    void setFocusControl(TControl& control) { name(control); }
};

}  // namespace surftally
