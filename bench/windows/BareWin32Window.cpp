// The yardstick for the Windows program's whole-process figures: a bare Win32 window of the
// strip's size and kind (a borderless topmost tool window, no taskbar button) showing a fixed
// text in a label, and nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"Bare";
    ::RegisterClassW(&windowClass);
    const HWND window =
        ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"Bare", L"Bare", WS_POPUP, 0, 0, 120,
                          25, nullptr, nullptr, instance, nullptr);
    ::CreateWindowExW(0, L"STATIC", L"000:00:00", WS_CHILD | WS_VISIBLE | SS_CENTER, 2, 2, 116, 21,
                      window, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
