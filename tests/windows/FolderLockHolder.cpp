// Holds a data folder's lock as the program of another session would (no window this
// session can reach) until it is ended. Prints "held" once it holds it.
#include <windows.h>

#include <cstdio>
#include <filesystem>

#include "store/FolderLock.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: folder_lock_holder FOLDER\n", stderr);
        return 2;
    }
    surftally::FolderLock lock;
    if (lock.tryAcquire(std::filesystem::path(argv[1])) !=
        surftally::FolderLock::Outcome::Acquired) {
        std::fputs("not held\n", stderr);
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    for (;;) {
        ::Sleep(INFINITE);
    }
}
