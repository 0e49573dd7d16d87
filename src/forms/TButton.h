#pragma once

#include "TControl.h"

namespace surftally {

// A push button with a caption.
using TButton = TCaptioned<ControlKind::Button>;

}  // namespace surftally
