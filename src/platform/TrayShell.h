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

// Which of the record's fields the system reads (its uFlags bits).
struct NotifyFlag {
    static constexpr std::uint32_t Message = 0x1;
    static constexpr std::uint32_t Icon = 0x2;
    static constexpr std::uint32_t Tip = 0x4;
};

// What a notification request does with the record; the values are the system's own.
enum class NotifyRequest : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// A window message as the message window's procedure sees it; Result starts at 0.
struct TrayMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// The message numbers a notification window hears: the session's end, and the pointer
// events the system puts in a callback message's LParam. The values are the system's own.
struct TrayEvent {
    // The first number a program may give its own messages.
    static constexpr std::uint32_t User = 0x400;
    static constexpr std::uint32_t QueryEndSession = 0x11;
    static constexpr std::uint32_t EndSession = 0x16;
    static constexpr std::uint32_t MouseMove = 0x200;
    static constexpr std::uint32_t LeftButtonDown = 0x201;
    static constexpr std::uint32_t LeftButtonUp = 0x202;
    static constexpr std::uint32_t LeftButtonDoubleClick = 0x203;
    static constexpr std::uint32_t RightButtonDown = 0x204;
    static constexpr std::uint32_t RightButtonUp = 0x205;
    static constexpr std::uint32_t RightButtonDoubleClick = 0x206;
    static constexpr std::uint32_t MiddleButtonDown = 0x207;
    static constexpr std::uint32_t MiddleButtonUp = 0x208;
    static constexpr std::uint32_t MiddleButtonDoubleClick = 0x209;
};

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
    virtual bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) = 0;

    // The cbSize the record carries. A shell whose system wants another first-version size
    // (a 64-bit Windows target) gives it here.
    virtual std::uint32_t RecordSize() const { return kNotifyIconDataV1Size; }

    virtual ScreenPoint GetCursorPos() const = 0;
    // GetKeyState(key) < 0.
    virtual bool KeyDown(VirtualKey key) const = 0;
};

}  // namespace surftally
