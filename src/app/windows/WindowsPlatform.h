#pragma once

#include <memory>

#include "app/Program.h"

namespace surftally {

// The program on Windows: the Win32 toolkit, InternetGetConnectedState for the connection,
// the notification area through Shell_NotifyIconA, the clock that stops during sleep, the
// application's own window for the taskbar button, and a message window between starts.
std::unique_ptr<ProgramPlatform> WindowsPlatform();

}  // namespace surftally
