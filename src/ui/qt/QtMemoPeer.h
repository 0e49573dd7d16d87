#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A read-only text, laid out line by line, with a vertical scroll bar.
extern const QtKind QtMemoPeer;

}  // namespace surftally
