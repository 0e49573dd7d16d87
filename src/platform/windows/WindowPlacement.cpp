#include "platform/windows/WindowPlacement.h"

#include <windows.h>

namespace surftally {

namespace {
HWND toHandle(std::uintptr_t window) {
    return reinterpret_cast<HWND>(window);
}
}  // namespace

void MakeTopmost(std::uintptr_t window) {
    ::SetWindowPos(toHandle(window), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void HideWindow(std::uintptr_t window) {
    ::ShowWindow(toHandle(window), SW_HIDE);
}

void RestoreWindow(std::uintptr_t window) {
    ::ShowWindow(toHandle(window), SW_RESTORE);
}

bool WindowVisible(std::uintptr_t window) {
    return ::IsWindowVisible(toHandle(window)) != FALSE;
}

}  // namespace surftally
