#include "ui/win32/Dpi.h"

namespace surftally::Win32Dpi {

namespace {

template <class Function>
Function user32(const char* name) {
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    return user == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user, name)));
}

int screenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesign;
}

}  // namespace

int ForWindow(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto get = user32<GetDpiForWindow>("GetDpiForWindow");
    if (get != nullptr && window != nullptr) {
        if (const UINT dpi = get(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return System();
}

int System() {
    using GetDpiForSystem = UINT(WINAPI*)();
    static const auto get = user32<GetDpiForSystem>("GetDpiForSystem");
    if (get != nullptr) {
        if (const UINT dpi = get(); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return screenDpi();
}

void AdjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

int Metric(int index, int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    static const auto metric = user32<MetricForDpi>("GetSystemMetricsForDpi");
    if (metric != nullptr) {
        return metric(index, static_cast<UINT>(dpi));
    }
    return ::MulDiv(::GetSystemMetrics(index), dpi, System());
}

}  // namespace surftally::Win32Dpi
