#pragma once

// TrayShell.h before windows.h, whose macros share some of its names.
#include "TrayShell.h"
// After TrayShell.h.
#include <windows.h>

// After windows.h.
#include <shellapi.h>

#include <cstring>

namespace surftally {

// The portable record as this target's system takes it: the first-version ANSI record, whose
// size is 88 bytes on 32-bit Windows and 104 on 64-bit (handles are wider there). The size is
// this target's own, whatever the portable record says.
inline NOTIFYICONDATAA NativeNotifyRecord(const NotifyIconData& data) {
    NOTIFYICONDATAA native{};
    native.cbSize = NOTIFYICONDATAA_V1_SIZE;
    native.hWnd = reinterpret_cast<HWND>(data.hWnd);
    native.uID = data.uID;
    native.uFlags = data.uFlags;
    native.uCallbackMessage = data.uCallbackMessage;
    native.hIcon = reinterpret_cast<HICON>(data.hIcon);
    static_assert(sizeof(data.szTip) == 64);
    std::memcpy(native.szTip, data.szTip, sizeof(data.szTip));
    native.szTip[63] = '\0';
    return native;
}

#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 104);
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == 88);
#endif

}  // namespace surftally
