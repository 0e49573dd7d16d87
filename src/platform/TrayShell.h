#pragma once

#include <cstdint>
#include <functional>

namespace surftally {

// The first-version ANSI notification record; the tip buffer is 64 bytes.
constexpr std::uint32_t kNotifyIconDataV1Size = 88;

struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    char szTip[64] = {};
};

constexpr std::uint32_t NIF_MESSAGE = 0x1;
constexpr std::uint32_t NIF_ICON = 0x2;
constexpr std::uint32_t NIF_TIP = 0x4;

enum class NotifyMessage : std::uint32_t { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };

// A window message as the message window's procedure sees it; Result starts at 0.
struct TrayMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr std::uint32_t WM_USER = 0x400;
constexpr std::uint32_t WM_QUERYENDSESSION = 0x11;
constexpr std::uint32_t WM_ENDSESSION = 0x16;
constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
constexpr std::uint32_t WM_LBUTTONUP = 0x202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
constexpr std::uint32_t WM_RBUTTONUP = 0x205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;
constexpr std::uint32_t WM_MBUTTONUP = 0x208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x209;

struct ScreenPoint {
    int X = 0;
    int Y = 0;
};

enum class VirtualKey { Shift, Control, Menu };

// The platform's notification area and what the icon component needs around it.
class TrayShell {
public:
    virtual ~TrayShell() = default;

    // A hidden window whose messages, delivered on this thread, go to the procedure.
    virtual std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) = 0;
    // After this no message reaches the procedure.
    virtual void ReleaseMessageWindow(std::uintptr_t window) = 0;

    // Shell_NotifyIconA: true on success.
    virtual bool NotifyIcon(NotifyMessage message, const NotifyIconData& data) = 0;

    // The cbSize the record carries. A shell whose system wants another first-version size
    // (a 64-bit Windows target) gives it here.
    virtual std::uint32_t RecordSize() const { return kNotifyIconDataV1Size; }

    virtual ScreenPoint GetCursorPos() const = 0;
    // GetKeyState(key) < 0.
    virtual bool KeyDown(VirtualKey key) const = 0;
};

}  // namespace surftally
