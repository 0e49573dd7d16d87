#pragma once

#include "TControl.h"

namespace surftally {

// A framed group of controls with a caption; its controls' bounds are relative to it.
class TGroupBox : public TControl {
public:
    TGroupBox(TApplication& application, TControl* parent, std::string name,
              const std::string& caption)
        : TControl(application, parent, ControlKind::GroupBox, std::move(name)) {
        setCaption(caption);
    }
};

}  // namespace surftally
