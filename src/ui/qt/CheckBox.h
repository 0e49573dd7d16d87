#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A check box; a click toggles the control, which then sets the box.
extern const QtKind QtCheckBox;

}  // namespace surftally
