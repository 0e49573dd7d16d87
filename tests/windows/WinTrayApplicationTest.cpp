#include <gtest/gtest.h>

// The portable names first; windows.h makes macros of some of them.
#include "TTrayIcon.h"
#include "WinIconImage.h"
#include "WinTrayApplication.h"
#include "WinTrayShell.h"
// After the portable names.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "TempFolder.h"

using namespace surftally;
namespace fs = std::filesystem;

namespace {

void pumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

const fs::path kData = SURFTALLY_TEST_DATA;

// The colour of one pixel of the icon drawn on white at its own size.
COLORREF pixelOf(std::uintptr_t icon, int x, int y) {
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, size, size};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(icon), size, size, 0, nullptr, DI_NORMAL);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

int widthOf(std::uintptr_t icon) {
    ICONINFO info{};
    if (!::GetIconInfo(reinterpret_cast<HICON>(icon), &info)) {
        return 0;
    }
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

}  // namespace

TEST(WinTrayApplication, IconsAreTheFilesSmallPicturesAsRealIcons) {
    WinTrayApplication application;
    ASSERT_NE(application.Icon().Handle(), 0u) << "no program icon to start with";
    application.loadIcon(kData / "LAN.ico");
    const std::uintptr_t lan = application.Icon().Handle();
    EXPECT_EQ(widthOf(lan), ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(pixelOf(lan, 0, 8), RGB(0, 128, 0));
    application.loadIcon(kData / "Off-Line.ico");
    EXPECT_EQ(pixelOf(application.Icon().Handle(), 0, 8), RGB(0, 0, 128));
    application.loadIcon(kData / "MODEM.ico");
    EXPECT_EQ(pixelOf(application.Icon().Handle(), 0, 8), RGB(128, 0, 0));
    // The window shows the picture too.
    EXPECT_EQ(
        ::SendMessageW(reinterpret_cast<HWND>(application.window()), WM_GETICON, ICON_SMALL, 0),
        static_cast<LRESULT>(application.Icon().Handle()));
}

// The tick loads its state's icon every second: an unchanged file gives the same picture, a
// changed one a new picture, and the old picture goes once nothing shows it any more.
TEST(WinTrayApplication, UnchangedFileGivesTheSamePictureAndNothingLeaks) {
    TempFolder temp;
    const fs::path file = temp.path() / "LAN.ico";
    fs::copy_file(kData / "LAN.ico", file);
    WinTrayApplication application;
    application.loadIcon(file);
    const std::weak_ptr<const IconImage> first = application.Icon().image();
    for (int i = 0; i < 100; ++i) {
        application.loadIcon(file);
    }
    EXPECT_EQ(application.Icon().image(), first.lock());

    // Same size, other picture, later time.
    fs::copy_file(kData / "MODEM.ico", file, fs::copy_options::overwrite_existing);
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(5));
    application.loadIcon(file);
    EXPECT_NE(application.Icon().image(), first.lock());
    EXPECT_EQ(pixelOf(application.Icon().Handle(), 0, 8), RGB(128, 0, 0));
    EXPECT_TRUE(first.expired()) << "the replaced picture is still held";
}

TEST(WinTrayApplication, AMissingOrBrokenFileRaisesAndKeepsTheIcon) {
    TempFolder temp;
    WinTrayApplication application;
    application.loadIcon(kData / "LAN.ico");
    const auto before = application.Icon().image();
    const fs::path missing = temp.path() / "Off-Line.ico";
    try {
        application.loadIcon(missing);
        FAIL() << "a missing file loaded";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing.string());
    }
    temp.put("Off-Line.ico", "not an icon");
    EXPECT_THROW(application.loadIcon(missing), std::runtime_error);
    EXPECT_EQ(application.Icon().image(), before);
}

TEST(WinTrayApplication, OwnWindowCarriesTheTitleAndReportsMinimiseAndRestore) {
    WinTrayApplication application("Surftally");
    const HWND hwnd = reinterpret_cast<HWND>(application.window());
    wchar_t title[32] = {};
    ::GetWindowTextW(hwnd, title, 32);
    EXPECT_EQ(std::wstring(title), L"Surftally");
    EXPECT_EQ(application.Title(), "Surftally");
    EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0)
        << "a tool window carries no taskbar button";
    EXPECT_FALSE(application.IsWindowVisible());

    application.ShowWindow(true);
    EXPECT_TRUE(application.IsWindowVisible());
    std::string events;
    application.setOnMinimize([&] { events += "minimize "; });
    application.setOnRestore([&] { events += "restore "; });
    ::ShowWindow(hwnd, SW_MINIMIZE);
    pumpMessages();
    ::ShowWindow(hwnd, SW_RESTORE);
    pumpMessages();
    EXPECT_EQ(events, "minimize restore ");
    application.ShowWindow(false);
    EXPECT_FALSE(application.IsWindowVisible());

    // Close from the taskbar asks the program; the window stays.
    bool closed = false;
    application.setOnClose([&] { closed = true; });
    ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(::IsWindow(hwnd));
}

// The notification icon over the application: a minimise hides the application's window.
TEST(WinTrayApplication, NotificationIconHidesTheMinimisedWindow) {
    WinTrayShell shell;
    WinTrayApplication application;
    TTrayIcon icon(shell, application);
    application.ShowWindow(true);
    ::ShowWindow(reinterpret_cast<HWND>(application.window()), SW_MINIMIZE);
    pumpMessages();
    EXPECT_FALSE(application.IsWindowVisible());
}
