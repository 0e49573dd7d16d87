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
//
// One made from what was last read asks the window system nothing: for the pointer moves a
// shell sends on its own once a second, which no pointer caused. Before any read that is the
// origin with no key down.
class QtPointerSnapshot {
public:
    enum class Source { WindowSystem, LastRead };
    explicit QtPointerSnapshot(Source source = Source::WindowSystem);
    ~QtPointerSnapshot();
    QtPointerSnapshot(const QtPointerSnapshot&) = delete;
    QtPointerSnapshot& operator=(const QtPointerSnapshot&) = delete;
};

}  // namespace surftally
