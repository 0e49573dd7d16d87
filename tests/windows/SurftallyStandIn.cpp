// A stand-in for the Windows program while its windows are being written, for developing the
// installer's end-to-end test: the strip's window (class SurftallyStrip) at left 0, top
// screen height - 67, the clock in yellow on black inside the grey frame; the notification
// icon with the data folder's Off-Line.ico; a click on the icon hides and shows the strip;
// closing the strip ends the program.
#include "TTrayIcon.h"
#include "WinSystemClock.h"
#include "WinTrayApplication.h"
#include "WinTrayShell.h"
// After the portable names.
#include <windows.h>

#include <cstdio>

#include "DataFolder.h"

using namespace surftally;

namespace {

WinSystemClock systemClock;

LRESULT CALLBACK stripProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(hwnd, &paint);
            RECT all{0, 0, 120, 25};
            const HBRUSH outer = ::CreateSolidBrush(RGB(153, 153, 153));
            const HBRUSH inner = ::CreateSolidBrush(RGB(127, 127, 127));
            ::FillRect(dc, &all, outer);
            RECT ring{1, 1, 119, 24};
            ::FillRect(dc, &ring, inner);
            RECT display{2, 2, 118, 23};
            ::FillRect(dc, &display, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::DeleteObject(outer);
            ::DeleteObject(inner);
            const long ms = static_cast<long>(systemClock.timeOfDay().count());
            char text[16];
            std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", ms / 3'600'000, ms / 60'000 % 60,
                          ms / 1000 % 60);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, RGB(255, 255, 0));
            ::DrawTextA(dc, text, -1, &display, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA stripClass{};
    stripClass.lpfnWndProc = stripProcedure;
    stripClass.hInstance = instance;
    stripClass.hCursor = ::LoadCursorA(nullptr, IDC_HAND);
    stripClass.lpszClassName = "SurftallyStrip";
    ::RegisterClassA(&stripClass);
    const int top = ::GetSystemMetrics(SM_CYSCREEN) - 67;
    const HWND strip =
        ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "SurftallyStrip", "Surftally", WS_POPUP,
                          0, top, 120, 25, nullptr, nullptr, instance, nullptr);
    ::SetTimer(strip, 1, 1000, nullptr);

    WinTrayShell shell;
    WinTrayApplication application;
    try {
        application.loadIcon(DataFolder::standard().file("Off-Line.ico"));
        TTrayIcon icon(shell, application);
        icon.setIcon(application.Icon());
        icon.OnClick = [strip](TTrayIcon*) {
            ::ShowWindow(strip, ::IsWindowVisible(strip) ? SW_HIDE : SW_SHOWNOACTIVATE);
        };
        ::ShowWindow(strip, SW_SHOWNOACTIVATE);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    } catch (const std::exception& e) {
        ::MessageBoxA(nullptr, e.what(), "Surftally", MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}
