#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A picture of the display strip, drawn by the strip's own drawing.
extern const QtKind QtImage;

}  // namespace surftally
