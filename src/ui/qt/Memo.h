#pragma once

#include "ui/qt/Control.h"

namespace surftally {

// A read-only text, laid out line by line, with a vertical scroll bar.
extern const QtKind QtMemo;

}  // namespace surftally
