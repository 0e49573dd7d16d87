#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A push button in the control's font; a click goes to the control.
extern const QtKind QtButton;

}  // namespace surftally
