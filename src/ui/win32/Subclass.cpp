#include "ui/win32/Subclass.h"

namespace surftally::Win32Subclass {

namespace {

constexpr const wchar_t* kHook = L"SurftallySubclass";

struct Hook {
    WNDPROC original;
    Procedure procedure;
    void* data;
};

Hook* hookOf(HWND hwnd) {
    return static_cast<Hook*>(::GetPropW(hwnd, kHook));
}

// The window's procedure while hooked. It stays in place once removed, passing every message
// through: another subclass (a tooltip's) may have been put above it since.
LRESULT CALLBACK route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Hook* hook = hookOf(hwnd);
    if (hook == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const LRESULT result = hook->procedure != nullptr
                               ? hook->procedure(hwnd, message, wParam, lParam, hook->data)
                               : ::CallWindowProcW(hook->original, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window's last message: the hook goes with it.
        ::RemovePropW(hwnd, kHook);
        delete hook;
    }
    return result;
}

}  // namespace

void Install(HWND hwnd, Procedure procedure, void* data) {
    if (Hook* hook = hookOf(hwnd)) {
        hook->procedure = procedure;
        hook->data = data;
        return;
    }
    auto* hook = new Hook{reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)),
                          procedure, data};
    ::SetPropW(hwnd, kHook, hook);
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(route));
}

void Remove(HWND hwnd) {
    if (Hook* hook = hookOf(hwnd)) {
        hook->procedure = nullptr;
        hook->data = nullptr;
    }
}

LRESULT Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Hook* hook = hookOf(hwnd);
    return hook != nullptr ? ::CallWindowProcW(hook->original, hwnd, message, wParam, lParam)
                           : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace surftally::Win32Subclass
