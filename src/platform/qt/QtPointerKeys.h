#pragma once

#include "platform/TrayShell.h"

namespace surftally {

// The pointer in screen coordinates and the state of a modifier key, as the Qt shells give
// them to the notification icon.
ScreenPoint QtCursorPos();
bool QtKeyDown(VirtualKey key);

// While one lives, the pointer and the modifier keys are read from the window system once and
// given again: a message's handlers read them several times over, and on X11 every read is a
// round trip to the server (one answers both there). They are read anew after the last one
// ends.
class QtPointerSnapshot {
public:
    QtPointerSnapshot();
    ~QtPointerSnapshot();
    QtPointerSnapshot(const QtPointerSnapshot&) = delete;
    QtPointerSnapshot& operator=(const QtPointerSnapshot&) = delete;
};

}  // namespace surftally
