#include <gtest/gtest.h>

#include <windows.h>
#include "platform/TTrayIcon.h"
#include "platform/windows/WinIconImage.h"
#include "platform/windows/WinTrayApplication.h"
#include "platform/windows/WinTrayShell.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempFolder.h"

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
COLORREF pixelOf(std::uintptr_t icon, int x, int y, int size = ::GetSystemMetrics(SM_CXSMICON)) {
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

// An .ico file with one plain square picture per size, each of its own colour.
std::string iconFile(const std::vector<std::pair<int, COLORREF>>& pictures) {
    std::string out;
    const auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    put(0, 2);
    put(1, 2);
    put(static_cast<std::uint32_t>(pictures.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    const auto maskRow = [](int size) { return static_cast<std::uint32_t>((size + 31) / 32 * 4); };
    const auto bytesOf = [&](int size) {
        const auto n = static_cast<std::uint32_t>(size);
        return 40 + n * n * 4 + maskRow(size) * n;
    };
    for (const auto& [size, colour] : pictures) {
        put(static_cast<std::uint32_t>(size), 1);
        put(static_cast<std::uint32_t>(size), 1);
        put(0, 2);
        put(1, 2);
        put(32, 2);
        put(bytesOf(size), 4);
        put(offset, 4);
        offset += bytesOf(size);
    }
    for (const auto& [size, colour] : pictures) {
        const auto n = static_cast<std::uint32_t>(size);
        put(40, 4);
        put(n, 4);
        put(2 * n, 4);
        put(1, 2);
        put(32, 2);
        put(0, 4);
        put(n * n * 4 + maskRow(size) * n, 4);
        put(0, 16);
        for (std::uint32_t i = 0; i < n * n; ++i) {
            put(GetBValue(colour), 1);
            put(GetGValue(colour), 1);
            put(GetRValue(colour), 1);
            put(255, 1);
        }
        out.append(maskRow(size) * n, '\0');
    }
    return out;
}

}  // namespace

// Each picture is the file's own at the size the notification area asks for, not one
// stretched from another size.
TEST(WinTrayApplication, PicturesComeAtTheSmallIconSizeFromTheFilesOwnSizes) {
    const std::vector<std::pair<int, COLORREF>> pictures{
        {16, RGB(255, 0, 0)}, {24, RGB(0, 255, 0)}, {32, RGB(0, 0, 255)}, {48, RGB(255, 255, 0)}};
    TempFolder temp;
    temp.put("LAN.ico", iconFile(pictures));
    const int size = SmallIconSize();
    ASSERT_EQ(size, ::GetSystemMetrics(SM_CXSMICON)) << "this process runs at the system's DPI";
    WinTrayApplication application;
    application.loadIcon(temp.path() / "LAN.ico");
    EXPECT_EQ(widthOf(application.Icon().Handle()), size);
    for (const auto& [pictureSize, colour] : pictures) {
        const auto image = LoadIconFile(temp.path() / "LAN.ico", pictureSize);
        EXPECT_EQ(widthOf(image->handle()), pictureSize);
        EXPECT_EQ(pixelOf(image->handle(), pictureSize / 2, pictureSize / 2, pictureSize), colour)
            << "the " << pictureSize << "-pixel picture";
        if (pictureSize == size) {
            EXPECT_EQ(pixelOf(application.Icon().Handle(), size / 2, size / 2), colour);
        }
    }
}

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

// Only a session that really ends ends the program; the question is always answered yes.
TEST(WinTrayApplication, EndOfTheSessionRunsTheEndHandler) {
    WinTrayApplication application;
    const HWND hwnd = reinterpret_cast<HWND>(application.window());
    int ended = 0;
    application.setOnEndSession([&] { ++ended; });
    EXPECT_EQ(::SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 1);
    EXPECT_EQ(ended, 0);
    ::SendMessageW(hwnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ended, 0) << "a cancelled end of the session ended the program";
    ::SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(ended, 1);
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
