#include "ui/win32/Button.h"

#include "ui/win32/ButtonDrawing.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"
#include "ui/win32/Window.h"

namespace surftally {

Win32Button::Win32Button(Win32Toolkit& toolkit, TControl& control)
    : Win32Control(toolkit, control) {
    create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
}

bool Win32Button::reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        control().userClick();
        return true;
    }
    if (message == WM_NOTIFY) {
        const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
        if (draw.hdr.code == NM_CUSTOMDRAW && draw.dwDrawStage == CDDS_PREPAINT) {
            Win32ButtonDrawing::DrawPushButton(draw, Wide(control().Caption()), font(),
                                               control().Font().Color, focusCues());
            result = CDRF_SKIPDEFAULT;
            return true;
        }
    }
    return false;
}

}  // namespace surftally
