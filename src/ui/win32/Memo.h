#pragma once

#include "ui/win32/Edit.h"

namespace surftally {

// A read-only multi-line edit with a vertical scroll bar, its lines wrapped at its width.
class Win32Memo : public Win32Edit {
public:
    Win32Memo(Win32Toolkit& toolkit, TControl& control);

protected:
    void apply(Property property) override;
};

}  // namespace surftally
