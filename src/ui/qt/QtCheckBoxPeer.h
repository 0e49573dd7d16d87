#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A check box; a click toggles the control, which then sets the box.
extern const QtKind QtCheckBoxPeer;

}  // namespace surftally
