#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/TrayShell.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace surftally {

// The portable names carry the system's own values: requests, the record's flags and the
// pointer messages in a callback's LParam pass through unchanged.
constexpr std::pair<std::uint32_t, UINT> kSameValues[] = {
    {static_cast<std::uint32_t>(NotifyRequest::Add), NIM_ADD},
    {static_cast<std::uint32_t>(NotifyRequest::Modify), NIM_MODIFY},
    {static_cast<std::uint32_t>(NotifyRequest::Delete), NIM_DELETE},
    {NotifyFlag::Message, NIF_MESSAGE},
    {NotifyFlag::Icon, NIF_ICON},
    {NotifyFlag::Tip, NIF_TIP},
    {TrayEvent::User, WM_USER},
    {TrayEvent::QueryEndSession, WM_QUERYENDSESSION},
    {TrayEvent::EndSession, WM_ENDSESSION},
    {TrayEvent::MouseMove, WM_MOUSEMOVE},
    {TrayEvent::LeftButtonDown, WM_LBUTTONDOWN},
    {TrayEvent::LeftButtonUp, WM_LBUTTONUP},
    {TrayEvent::LeftButtonDoubleClick, WM_LBUTTONDBLCLK},
    {TrayEvent::RightButtonDown, WM_RBUTTONDOWN},
    {TrayEvent::RightButtonUp, WM_RBUTTONUP},
    {TrayEvent::RightButtonDoubleClick, WM_RBUTTONDBLCLK},
    {TrayEvent::MiddleButtonDown, WM_MBUTTONDOWN},
    {TrayEvent::MiddleButtonUp, WM_MBUTTONUP},
    {TrayEvent::MiddleButtonDoubleClick, WM_MBUTTONDBLCLK},
};
static_assert(std::all_of(std::begin(kSameValues), std::end(kSameValues),
                          [](const auto& names) { return names.first == names.second; }));

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
