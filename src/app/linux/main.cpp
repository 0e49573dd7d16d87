// The program on Linux: picks the Linux services and runs the program on the standard data
// folder.

#include "app/Program.h"
#include "app/linux/LinuxPlatform.h"
#include "store/DataFolder.h"

using namespace surftally;

int main(int argc, char* argv[]) {
    const std::unique_ptr<ProgramPlatform> platform = LinuxPlatform(argc, argv);
    return RunProgram(*platform, DataFolder::standard());
}
