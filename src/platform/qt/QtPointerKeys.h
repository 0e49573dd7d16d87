#pragma once

#include "TrayShell.h"

namespace surftally {

// The pointer in screen coordinates and the state of a modifier key, as the Qt shells give
// them to the notification icon.
ScreenPoint QtCursorPos();
bool QtKeyDown(VirtualKey key);

}  // namespace surftally
