#include <gtest/gtest.h>

#include <windows.h>

#include "platform/windows/WindowPlacement.h"

using namespace surftally;

namespace {

// A plain top-level window that carries a taskbar button, as the application's does.
class TopLevelWindow {
public:
    TopLevelWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PlacementTestWindow";
        ::RegisterClassA(&windowClass);
        hwnd_ =
            ::CreateWindowExA(0, "PlacementTestWindow", "Surftally", WS_OVERLAPPEDWINDOW, 50, 60,
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

}  // namespace

TEST(WindowPlacement, TopmostShowsWithoutMovingOrSizing) {
    TopLevelWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    ASSERT_FALSE(WindowVisible(window.id()));
    RECT before{};
    ::GetWindowRect(window.hwnd(), &before);

    MakeTopmost(window.id());
    EXPECT_TRUE(WindowVisible(window.id()));
    EXPECT_NE(::GetWindowLongPtrA(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT after{};
    ::GetWindowRect(window.hwnd(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST(WindowPlacement, HideAndRestore) {
    TopLevelWindow window;
    MakeTopmost(window.id());
    HideWindow(window.id());
    EXPECT_FALSE(WindowVisible(window.id()));
    RestoreWindow(window.id());
    EXPECT_TRUE(WindowVisible(window.id()));

    ::ShowWindow(window.hwnd(), SW_MINIMIZE);
    EXPECT_TRUE(::IsIconic(window.hwnd()));
    RestoreWindow(window.id());
    EXPECT_FALSE(::IsIconic(window.hwnd()));
    EXPECT_TRUE(WindowVisible(window.id()));
}
