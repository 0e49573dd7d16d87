#pragma once

#include "Win32Control.h"

namespace surftally {

// A read-only multi-line edit with a vertical scroll bar, its lines wrapped at its width.
class Win32Memo : public Win32Control {
public:
    Win32Memo(Win32Toolkit& toolkit, TControl& control);

    bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void apply(Property property) override;
};

}  // namespace surftally
