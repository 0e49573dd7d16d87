#include "ui/win32/Painted.h"

#include <algorithm>

#include "ui/win32/Paint.h"

namespace surftally {

Win32Painted::Win32Painted(Win32Toolkit& toolkit, TControl& control, const wchar_t* className,
                           DWORD style, DWORD exStyle, std::initializer_list<Property> shown)
    : Win32Control(toolkit, control), shown_(shown) {
    create(className, style, exStyle);
}

void Win32Painted::apply(Property property) {
    if (std::find(shown_.begin(), shown_.end(), property) != shown_.end()) {
        redraw();
    }
}

bool Win32Painted::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandleOwnPainting(hwnd, message, wParam, result, [this](HDC dc) { paint(dc); })) {
        return true;
    }
    return Win32Control::handle(hwnd, message, wParam, lParam, result);
}

}  // namespace surftally
