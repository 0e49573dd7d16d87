#pragma once

#include "forms/TControl.h"

namespace surftally {

// A framed group of controls with a caption; its controls' bounds are relative to it.
using TGroupBox = TCaptioned<ControlKind::GroupBox>;

}  // namespace surftally
