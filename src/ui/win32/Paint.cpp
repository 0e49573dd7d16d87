#include "ui/win32/Paint.h"

namespace surftally {

void PaintBuffered(HWND hwnd, const std::function<void(HDC)>& paint) {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width > 0 && height > 0) {
        const HDC memory = ::CreateCompatibleDC(dc);
        const HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        paint(memory);
        ::BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    ::EndPaint(hwnd, &ps);
}

bool HandleOwnPainting(HWND hwnd, UINT message, WPARAM wParam, LRESULT& result,
                       const std::function<void(HDC)>& paint) {
    switch (message) {
        case WM_PAINT:
            PaintBuffered(hwnd, paint);
            return true;
        case WM_PRINTCLIENT:
            paint(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        default:
            return false;
    }
}

}  // namespace surftally
