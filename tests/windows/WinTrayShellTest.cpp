#include <gtest/gtest.h>

#include "platform/windows/NativeNotifyRecord.h"
#include "platform/windows/WinTrayShell.h"

#include "platform/TTrayIcon.h"
#include "tests/support/FakeTrayApplication.h"

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace surftally;

namespace {

constexpr std::uint32_t kCallbackMessage = 0x401;

void pumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

NotifyIconData recordFor(std::uintptr_t window, const char* tip) {
    NotifyIconData data;
    data.cbSize = 88;  // as the portable component fills it
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NotifyFlag::Message | NotifyFlag::Icon | NotifyFlag::Tip;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = reinterpret_cast<std::uintptr_t>(::LoadIconA(nullptr, IDI_APPLICATION));
    std::strncpy(data.szTip, tip, sizeof(data.szTip) - 1);
    return data;
}

// Shell_NotifyIconA called directly, past the shell under test: what Explorer itself holds.
bool rawNotify(DWORD message, const NotifyIconData& data) {
    NOTIFYICONDATAA native = NativeNotifyRecord(data);
    return ::Shell_NotifyIconA(message, &native) != FALSE;
}

void broadcastTaskbarCreated() {
    const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    pumpMessages();
}

// A CBT hook on this thread for as long as the object lives, with what it saw.
class CreationHook {
public:
    // refuseCreation: every window this thread creates is refused. onDestroy: run as each
    // window is destroyed, while it still exists.
    CreationHook(bool refuseCreation, std::function<void(HWND)> onDestroy = {}) {
        current_ = this;
        refuse_ = refuseCreation;
        onDestroy_ = std::move(onDestroy);
        hook_ = ::SetWindowsHookExA(WH_CBT, procedure, nullptr, ::GetCurrentThreadId());
    }
    ~CreationHook() {
        ::UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    CreationHook(const CreationHook&) = delete;
    CreationHook& operator=(const CreationHook&) = delete;
    bool installed() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK procedure(int code, WPARAM wParam, LPARAM lParam) {
        if (current_ != nullptr) {
            if (code == HCBT_CREATEWND && current_->refuse_) {
                return 1;
            }
            if (code == HCBT_DESTROYWND && current_->onDestroy_) {
                current_->onDestroy_(reinterpret_cast<HWND>(wParam));
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline CreationHook* current_ = nullptr;
    HHOOK hook_ = nullptr;
    bool refuse_ = false;
    std::function<void(HWND)> onDestroy_;
};

class WinTrayShellTest : public ::testing::Test {
protected:
    std::uintptr_t allocate() {
        return shell.AllocateMessageWindow([this](TrayMessage& m) {
            if (m.Msg == WM_QUERYENDSESSION) {
                m.Result = 1;
            }
            received.push_back(m);
        });
    }
    std::vector<TrayMessage> received;
    WinTrayShell shell;
};

}  // namespace

TEST(NativeNotifyRecord, HasTheTargetsFirstVersionSize) {
    NotifyIconData data;
    data.cbSize = 88;
    data.hWnd = 0x1234;
    data.uID = 7;
    data.uFlags = NotifyFlag::Message | NotifyFlag::Icon;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = 0x5678;
    std::memset(data.szTip, 'x', sizeof(data.szTip));  // no terminator at all

    const NOTIFYICONDATAA native = NativeNotifyRecord(data);
    EXPECT_EQ(native.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(native.cbSize, offsetof(NOTIFYICONDATAA, szTip) + 64);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(native.hWnd), 0x1234u);
    EXPECT_EQ(native.uID, 7u);
    EXPECT_EQ(native.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(native.uCallbackMessage, kCallbackMessage);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(native.hIcon), 0x5678u);
    EXPECT_EQ(std::string(native.szTip), std::string(63, 'x'));
}

TEST_F(WinTrayShellTest, WindowIsHiddenAndTopLevel) {
    const HWND hwnd = reinterpret_cast<HWND>(allocate());
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    // Not a message-only window: those have HWND_MESSAGE as parent and hear no broadcast.
    EXPECT_EQ(::GetAncestor(hwnd, GA_PARENT), ::GetDesktopWindow());
}

TEST_F(WinTrayShellTest, AddModifyDeleteSucceed) {
    const std::uintptr_t window = allocate();
    NotifyIconData data = recordFor(window, "Surftally");
    ASSERT_TRUE(shell.NotifyIcon(NotifyRequest::Add, data));
    std::strcpy(data.szTip, " Available Time: 012:05:30 ");
    EXPECT_TRUE(shell.NotifyIcon(NotifyRequest::Modify, data));
    data.uFlags = NotifyFlag::Message | NotifyFlag::Icon;
    data.szTip[0] = '\0';
    EXPECT_TRUE(shell.NotifyIcon(NotifyRequest::Modify, data));
    EXPECT_TRUE(shell.NotifyIcon(NotifyRequest::Delete, data));
    // The icon is gone: a second removal and a change are refused.
    EXPECT_FALSE(shell.NotifyIcon(NotifyRequest::Delete, data));
    EXPECT_FALSE(shell.NotifyIcon(NotifyRequest::Modify, data));
}

TEST_F(WinTrayShellTest, TaskbarCreatedAddsTheIconAgain) {
    const std::uintptr_t window = allocate();
    NotifyIconData data = recordFor(window, "Surftally");
    ASSERT_TRUE(shell.NotifyIcon(NotifyRequest::Add, data));
    std::strcpy(data.szTip, " Available Time: 001:00:00 ");
    ASSERT_TRUE(shell.NotifyIcon(NotifyRequest::Modify, data));

    // Explorer restarts: the notification area forgets the icon.
    ASSERT_TRUE(rawNotify(NIM_DELETE, data));
    ASSERT_FALSE(rawNotify(NIM_MODIFY, data));

    broadcastTaskbarCreated();
    EXPECT_EQ(shell.iconsAddedAgain(), 1);
    EXPECT_TRUE(rawNotify(NIM_MODIFY, data)) << "the icon is not back";
    // The broadcast is not a message of the procedure's.
    for (const TrayMessage& m : received) {
        EXPECT_NE(m.Msg, ::RegisterWindowMessageA("TaskbarCreated"));
    }

    // An icon that the program removed stays removed.
    ASSERT_TRUE(shell.NotifyIcon(NotifyRequest::Delete, data));
    broadcastTaskbarCreated();
    EXPECT_EQ(shell.iconsAddedAgain(), 1);
    EXPECT_FALSE(rawNotify(NIM_MODIFY, data));
}

TEST_F(WinTrayShellTest, MessagesReachTheProcedure) {
    const HWND hwnd = reinterpret_cast<HWND>(allocate());
    received.clear();

    // The session's end, as the system sends it to every top-level window.
    EXPECT_EQ(::SendMessageA(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 1);
    EXPECT_EQ(::SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0), 0);
    // Callback messages, as the shell posts them through the message loop.
    ASSERT_TRUE(::PostMessageA(hwnd, kCallbackMessage, 0, WM_LBUTTONDOWN));
    ASSERT_TRUE(::PostMessageA(hwnd, kCallbackMessage, 0, WM_LBUTTONUP));
    pumpMessages();

    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].Msg, static_cast<std::uint32_t>(WM_QUERYENDSESSION));
    EXPECT_EQ(received[0].LParam, static_cast<std::intptr_t>(ENDSESSION_LOGOFF));
    EXPECT_EQ(received[1].Msg, static_cast<std::uint32_t>(WM_ENDSESSION));
    EXPECT_EQ(received[1].WParam, 1u);
    EXPECT_EQ(received[2].Msg, kCallbackMessage);
    EXPECT_EQ(received[2].LParam, WM_LBUTTONDOWN);
    EXPECT_EQ(received[3].LParam, WM_LBUTTONUP);

    // Other messages get no default processing: the result is the procedure's 0.
    EXPECT_EQ(::SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(WinTrayShellTest, ReleasedWindowHearsNothing) {
    const std::uintptr_t window = allocate();
    shell.ReleaseMessageWindow(window);
    EXPECT_FALSE(::IsWindow(reinterpret_cast<HWND>(window)));
    received.clear();
    ::PostMessageA(reinterpret_cast<HWND>(window), kCallbackMessage, 0, WM_LBUTTONDOWN);
    pumpMessages();
    EXPECT_TRUE(received.empty());
}

TEST_F(WinTrayShellTest, ProcedureMayReleaseItsOwnWindow) {
    std::uintptr_t window = 0;
    int calls = 0;
    window = shell.AllocateMessageWindow([&](TrayMessage& m) {
        ++calls;
        if (m.Msg == kCallbackMessage) {
            shell.ReleaseMessageWindow(window);
            m.Result = 7;
        }
    });
    EXPECT_EQ(::SendMessageA(reinterpret_cast<HWND>(window), kCallbackMessage, 0, 0), 7);
    EXPECT_FALSE(::IsWindow(reinterpret_cast<HWND>(window)));
    const int callsBefore = calls;
    ::PostMessageA(reinterpret_cast<HWND>(window), kCallbackMessage, 0, 0);
    pumpMessages();
    EXPECT_EQ(calls, callsBefore);
}

TEST_F(WinTrayShellTest, FailureInTheProcedureIsHandedOn) {
    std::string reported;
    shell.setOnProcedureError([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            reported = e.what();
        }
    });
    const HWND hwnd = reinterpret_cast<HWND>(shell.AllocateMessageWindow(
        [](TrayMessage&) { throw std::runtime_error("File not found"); }));
    ::SendMessageA(hwnd, kCallbackMessage, 0, WM_LBUTTONDOWN);
    EXPECT_EQ(reported, "File not found");
}

TEST_F(WinTrayShellTest, PointerAndKeys) {
    ASSERT_TRUE(::SetCursorPos(40, 30));
    const ScreenPoint point = shell.GetCursorPos();
    EXPECT_EQ(point.X, 40);
    EXPECT_EQ(point.Y, 30);

    EXPECT_FALSE(shell.KeyDown(VirtualKey::Shift));
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = VK_SHIFT;
    ASSERT_EQ(::SendInput(1, &press, sizeof(press)), 1u);
    pumpMessages();
    EXPECT_TRUE(shell.KeyDown(VirtualKey::Shift));
    EXPECT_FALSE(shell.KeyDown(VirtualKey::Control));
    INPUT release = press;
    release.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &release, sizeof(release));
    pumpMessages();
    EXPECT_FALSE(shell.KeyDown(VirtualKey::Shift));
}

// A message window that cannot be created fails the icon's construction with the reason, and
// no icon is added that could never call back.
TEST(WinTrayShellFailures, WindowThatCannotBeCreatedFailsTheIcon) {
    WinTrayShell shell;
    FakeTrayApplication application;
    const CreationHook hook(true);
    ASSERT_TRUE(hook.installed());
    try {
        TTrayIcon icon(shell, application);
        FAIL() << "the icon was built without its window";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create the notification icon's window: ", 0),
                  0u)
            << e.what();
    }
    NotifyIconData orphan = recordFor(0, "Surftally");
    EXPECT_FALSE(rawNotify(NIM_MODIFY, orphan)) << "an icon without a window was added";
}

// The removal of an icon names its window while that window still exists, however the icon
// goes: destroyed by its component, or left behind when its window is released.
TEST(WinTrayShellFailures, IconIsRemovedBeforeItsWindowIsDestroyed) {
    std::vector<bool> iconThereAtDestruction;
    NotifyIconData watched;
    const CreationHook hook(false, [&](HWND hwnd) {
        if (reinterpret_cast<std::uintptr_t>(hwnd) == watched.hWnd) {
            iconThereAtDestruction.push_back(rawNotify(NIM_MODIFY, watched));
        }
    });
    ASSERT_TRUE(hook.installed());

    WinTrayShell shell;
    {
        FakeTrayApplication application;
        application.icon = TIcon();
        TTrayIcon icon(shell, application);
        watched = icon.record();
        ASSERT_TRUE(rawNotify(NIM_MODIFY, watched));
    }
    const std::uintptr_t window = shell.AllocateMessageWindow([](TrayMessage&) {});
    watched = recordFor(window, "Surftally");
    ASSERT_TRUE(shell.NotifyIcon(NotifyRequest::Add, watched));
    shell.ReleaseMessageWindow(window);
    EXPECT_EQ(iconThereAtDestruction, (std::vector<bool>{false, false}));
    // Nothing more is asked of the system for a released window.
    EXPECT_FALSE(shell.NotifyIcon(NotifyRequest::Add, watched));
    EXPECT_FALSE(rawNotify(NIM_MODIFY, watched));
}
