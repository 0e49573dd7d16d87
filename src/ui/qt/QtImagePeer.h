#pragma once

#include "QtControlPeer.h"

namespace surftally {

// A picture of the display strip, drawn by the strip's own drawing.
extern const QtKind QtImagePeer;

}  // namespace surftally
