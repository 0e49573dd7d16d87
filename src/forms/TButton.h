#pragma once

#include "forms/TControl.h"

namespace surftally {

// A push button with a caption.
using TButton = TCaptioned<ControlKind::Button>;

}  // namespace surftally
