#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A paint box: draws the shapes its control computes, in the desktop palette's colours.
extern const QtKind QtPaintBox;

}  // namespace surftally
