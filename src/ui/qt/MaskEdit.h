#pragma once

#include "ui/qt/Control.h"

namespace surftally {

class TMaskEdit;

// A masked edit: a line edit that hands every key, caret move and focus change to the
// control and shows the text and caret the control gives back.
class QtMaskEdit : public QtControl {
public:
    explicit QtMaskEdit(TControl& control);

    void takeFocus() override;

protected:
    void apply(Property property) override;

private:
    class Field;
    TMaskEdit& edit() const;
};

}  // namespace surftally
