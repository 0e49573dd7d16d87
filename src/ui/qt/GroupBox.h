#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A framed group; its caption in the box's font and colours, on its background colour.
extern const QtKind QtGroupBox;

}  // namespace surftally
