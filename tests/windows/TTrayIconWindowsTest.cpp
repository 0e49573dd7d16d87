#include <gtest/gtest.h>

#include "platform/TTrayIcon.h"
#include "platform/TrayApplication.h"
#include "platform/windows/NativeNotifyRecord.h"
#include "platform/windows/WinTrayShell.h"
#include "platform/windows/WindowPlacement.h"

#include <memory>
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

// A system icon, as the program would load one of its own.
class SystemIconImage : public IconImage {
public:
    std::uintptr_t handle() const override {
        return reinterpret_cast<std::uintptr_t>(::LoadIconA(nullptr, IDI_APPLICATION));
    }
};

// The application object over a real top-level window that carries the taskbar button.
class WindowApplication : public TrayApplication {
public:
    WindowApplication() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TrayIconTestApplication";
        ::RegisterClassA(&windowClass);
        hwnd_ =
            ::CreateWindowExA(0, "TrayIconTestApplication", "Surftally", WS_OVERLAPPEDWINDOW, 0, 0,
                              120, 40, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        MakeTopmost(window());
    }
    ~WindowApplication() override { ::DestroyWindow(hwnd_); }
    WindowApplication(const WindowApplication&) = delete;
    WindowApplication& operator=(const WindowApplication&) = delete;

    const TIcon& Icon() const override { return icon_; }
    std::string Title() const override { return "Surftally"; }
    bool IsWindowVisible() const override { return WindowVisible(window()); }
    void ShowWindow(bool restore) override {
        if (restore) {
            RestoreWindow(window());
        } else {
            HideWindow(window());
        }
    }
    void setOnMinimize(std::function<void()> handler) override { onMinimize = std::move(handler); }
    void setOnRestore(std::function<void()> handler) override { onRestore = std::move(handler); }

    std::uintptr_t window() const { return reinterpret_cast<std::uintptr_t>(hwnd_); }
    std::function<void()> onMinimize;
    std::function<void()> onRestore;

private:
    HWND hwnd_ = nullptr;
    TIcon icon_{std::make_shared<SystemIconImage>()};
};

// Whether the notification area holds the icon of this record: only a known icon can be
// changed.
bool inNotificationArea(const NotifyIconData& data) {
    NOTIFYICONDATAA native = NativeNotifyRecord(data);
    return ::Shell_NotifyIconA(NIM_MODIFY, &native) != FALSE;
}

LRESULT send(const TTrayIcon& icon, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(reinterpret_cast<HWND>(icon.record().hWnd), message, wParam, lParam);
}

class TTrayIconWindowsTest : public ::testing::Test {
protected:
    void record(TTrayIcon& icon) {
        icon.OnClick = [this](TTrayIcon*) { events.push_back("click"); };
        icon.OnDblClick = [this](TTrayIcon*) { events.push_back("dblclick"); };
        icon.OnMouseMove = [this](TTrayIcon*, TShiftState shift, int x, int y) {
            events.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," +
                             std::to_string(y));
        };
        icon.OnMouseDown = [this](TTrayIcon*, TMouseButton button, TShiftState shift, int x,
                                  int y) {
            events.push_back("down " + std::to_string(static_cast<int>(button)) + " " +
                             std::to_string(shift) + " " + std::to_string(x) + "," +
                             std::to_string(y));
        };
        icon.OnMouseUp = [this](TTrayIcon*, TMouseButton button, TShiftState shift, int x, int y) {
            events.push_back("up " + std::to_string(static_cast<int>(button)) + " " +
                             std::to_string(shift) + " " + std::to_string(x) + "," +
                             std::to_string(y));
        };
        icon.OnMinimize = [this](TTrayIcon*) { events.push_back("minimize"); };
        icon.OnRestore = [this](TTrayIcon*) { events.push_back("restore"); };
    }

    WinTrayShell shell;
    WindowApplication application;
    std::vector<std::string> events;
};

}  // namespace

TEST_F(TTrayIconWindowsTest, LivesInTheNotificationAreaWithTheTargetsRecordSize) {
    NotifyIconData record;
    {
        TTrayIcon icon(shell, application);
        record = icon.record();
        EXPECT_EQ(record.cbSize, static_cast<std::uint32_t>(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_FALSE(::IsWindowVisible(reinterpret_cast<HWND>(record.hWnd)));
        EXPECT_TRUE(inNotificationArea(record));
        icon.setHint(" Available Time: 012:05:30 ");
        EXPECT_TRUE(inNotificationArea(icon.record()));
    }
    EXPECT_FALSE(inNotificationArea(record));
}

TEST_F(TTrayIconWindowsTest, CallbackMessagesBecomeEvents) {
    TTrayIcon icon(shell, application);
    record(icon);
    ASSERT_TRUE(::SetCursorPos(300, 200));

    // A left double click, as the shell sends it.
    for (const LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        ::PostMessageA(reinterpret_cast<HWND>(icon.record().hWnd), kCallbackMessage, 0, mouse);
    }
    pumpMessages();
    const std::string left = std::to_string(ssLeft);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 " + left + " 300,200", "click",
                                                "up 0 " + left + " 300,200", "dblclick",
                                                "up 0 " + left + " 300,200"}));

    // The keys held come with the pointer; a right click is no click.
    events.clear();
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = VK_CONTROL;
    ASSERT_EQ(::SendInput(1, &press, sizeof(press)), 1u);
    pumpMessages();
    send(icon, kCallbackMessage, 0, WM_MOUSEMOVE);
    send(icon, kCallbackMessage, 0, WM_RBUTTONDOWN);
    send(icon, kCallbackMessage, 0, WM_RBUTTONUP);
    INPUT release = press;
    release.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &release, sizeof(release));
    pumpMessages();
    const std::string ctrl = std::to_string(ssCtrl);
    const std::string ctrlRight = std::to_string(ssCtrl | ssRight);
    EXPECT_EQ(events, (std::vector<std::string>{"move " + ctrl + " 300,200",
                                                "down 1 " + ctrlRight + " 300,200",
                                                "up 1 " + ctrlRight + " 300,200"}));
}

TEST_F(TTrayIconWindowsTest, SessionEndRemovesTheIcon) {
    TTrayIcon icon(shell, application);
    EXPECT_EQ(send(icon, WM_QUERYENDSESSION, 0, 0), 1);
    send(icon, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(inNotificationArea(icon.record()));
    send(icon, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(inNotificationArea(icon.record()));
}

TEST_F(TTrayIconWindowsTest, ComesBackWhenTheNotificationAreaIsRebuilt) {
    TTrayIcon icon(shell, application);
    icon.setHint(" Available Time: 001:00:00 ");
    NOTIFYICONDATAA native = NativeNotifyRecord(icon.record());
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &native));  // Explorer restarts
    ASSERT_FALSE(inNotificationArea(icon.record()));

    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                          SMTO_ABORTIFHUNG, 5000, &ignored);
    pumpMessages();
    EXPECT_TRUE(inNotificationArea(icon.record()));
}

TEST_F(TTrayIconWindowsTest, MinimiseHidesAndRestoreShowsTheApplicationWindow) {
    TTrayIcon icon(shell, application);
    record(icon);
    ASSERT_TRUE(application.IsWindowVisible());
    application.onMinimize();
    EXPECT_FALSE(WindowVisible(application.window()));
    application.onRestore();
    EXPECT_TRUE(WindowVisible(application.window()));
    EXPECT_EQ(events, (std::vector<std::string>{"minimize", "restore"}));
}
