// The program on Linux: picks the Linux services and runs the program on the standard data
// folder.

#include "DataFolder.h"
#include "LinuxPlatform.h"
#include "Program.h"

using namespace surftally;

int main(int argc, char* argv[]) {
    const std::unique_ptr<ProgramPlatform> platform = LinuxPlatform(argc, argv);
    return RunProgram(*platform, DataFolder::standard());
}
