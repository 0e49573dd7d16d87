#include <gtest/gtest.h>

#include <windows.h>

#include "platform/windows/WindowPlacement.h"
#include "tests/support/WinDesktop.h"

using namespace surftally;

TEST(WindowPlacement, TopmostShowsWithoutMovingOrSizing) {
    TopLevelWindow window(50, 60);
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
