#pragma once

// What the Windows desktop tests share: a message pump, a top-level window, and the
// notification area asked directly.

#include <windows.h>

#include <cstdint>

#include "platform/TrayShell.h"
#include "platform/windows/NativeNotifyRecord.h"

namespace surftally {

// The callback message the tests give their notification records.
constexpr std::uint32_t kCallbackMessage = 0x401;

// Handles the messages waiting on this thread, and returns.
inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Shell_NotifyIconA called directly, past any shell under test: what Explorer itself holds.
inline bool RawNotify(DWORD message, const NotifyIconData& data) {
    NOTIFYICONDATAA native = NativeNotifyRecord(data);
    return ::Shell_NotifyIconA(message, &native) != FALSE;
}

// A plain top-level window that carries a taskbar button, as the application's does; hidden
// until shown.
class TopLevelWindow {
public:
    explicit TopLevelWindow(int left = 0, int top = 0) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SurftallyTestWindow";
        ::RegisterClassA(&windowClass);
        hwnd_ =
            ::CreateWindowExA(0, "SurftallyTestWindow", "Surftally", WS_OVERLAPPEDWINDOW, left, top,
                              120, 40, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~TopLevelWindow() { ::DestroyWindow(hwnd_); }
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::uintptr_t id() const { return reinterpret_cast<std::uintptr_t>(hwnd_); }

private:
    HWND hwnd_;
};

}  // namespace surftally
