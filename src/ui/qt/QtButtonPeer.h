#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A push button in the control's font; a click goes to the control.
extern const QtKind QtButtonPeer;

}  // namespace surftally
