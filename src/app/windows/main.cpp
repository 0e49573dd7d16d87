// The program on Windows: picks the Windows services and runs the program on the machine's
// data folder.

#include "app/Program.h"
#include "app/windows/WindowsPlatform.h"
#include "store/DataFolder.h"

#include <windows.h>

using namespace surftally;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::unique_ptr<ProgramPlatform> platform = WindowsPlatform();
    return RunProgram(*platform, DataFolder::standard());
}
