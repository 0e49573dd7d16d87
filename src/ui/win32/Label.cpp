#include "ui/win32/Label.h"

#include "ui/win32/StripDrawing.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

Win32Label::Win32Label(Win32Toolkit& toolkit, TControl& control)
    : Win32Painted(toolkit, control, Win32Toolkit::kLabelClass, 0, 0,
                   {Property::Alignment, Property::Caption}) {}

void Win32Label::paint(HDC dc) const {
    RECT client;
    ::GetClientRect(native(), &client);
    Win32StripDrawing::DrawText(dc, client, Wide(control().Caption()), backgroundColour(),
                                control().Font().Color, font(),
                                control().Alignment() == TAlignment::Center);
}

bool Win32Label::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                tracking_ = ::TrackMouseEvent(&track) != FALSE;
            }
            control().userMouseMove();
            return true;
        case WM_MOUSELEAVE:
            tracking_ = false;
            pressed_ = false;
            control().userMouseLeave();
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = true;
            return true;
        case WM_LBUTTONUP: {
            const bool click = pressed_;
            pressed_ = false;
            RECT client;
            ::GetClientRect(hwnd, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (click && ::PtInRect(&client, at)) {
                control().userClick();
            }
            return true;
        }
        default:
            return Win32Painted::handle(hwnd, message, wParam, lParam, result);
    }
}

}  // namespace surftally
