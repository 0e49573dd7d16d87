#pragma once

#include "TControl.h"

namespace surftally {

class TButton : public TControl {
public:
    TButton(TApplication& application, TControl* parent, std::string name,
            const std::string& caption)
        : TControl(application, parent, ControlKind::Button, std::move(name)) {
        setCaption(caption);
    }
};

}  // namespace surftally
