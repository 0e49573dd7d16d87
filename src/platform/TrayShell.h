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
// events the system puts in a callback message's LParam. The values are the system's own;
// the pointer events run on from MouseMove in this order.
struct TrayEvent {
    enum : std::uint32_t {
        // The first number a program may give its own messages.
        User = 0x400,
        QueryEndSession = 0x11,
        EndSession = 0x16,
        MouseMove = 0x200,
        LeftButtonDown,
        LeftButtonUp,
        LeftButtonDoubleClick,
        RightButtonDown,
        RightButtonUp,
        RightButtonDoubleClick,
        MiddleButtonDown,
        MiddleButtonUp,
        MiddleButtonDoubleClick,
    };
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
