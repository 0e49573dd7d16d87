#pragma once

#include <memory>

#include "app/Program.h"

namespace surftally {

// The program on Linux: the Qt toolkit, the kernel's routes for the connection state, the
// Qt notification area, a local socket between starts and the system's requests to end.
std::unique_ptr<ProgramPlatform> LinuxPlatform(int& argc, char** argv);

}  // namespace surftally
