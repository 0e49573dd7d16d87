#include "ui/win32/CheckBox.h"

#include "forms/TCheckBox.h"
#include "ui/win32/ButtonDrawing.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

Win32CheckBox::Win32CheckBox(Win32Toolkit& toolkit, TControl& control)
    : Win32Control(toolkit, control) {
    create(L"BUTTON", BS_CHECKBOX | WS_TABSTOP);
}

void Win32CheckBox::apply(Property property) {
    if (property == Property::Checked) {
        const bool checked = static_cast<TCheckBox&>(control()).Checked();
        ::SendMessageW(native(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        Win32Control::apply(property);
    }
}

bool Win32CheckBox::reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                static_cast<TCheckBox&>(control()).userToggle();
                return true;
            }
            return false;
        case WM_NOTIFY: {
            const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
            if (draw.hdr.code == NM_CUSTOMDRAW && draw.dwDrawStage == CDDS_PREPAINT) {
                Win32ButtonDrawing::DrawCheckBox(draw, Wide(control().Caption()), font(),
                                                 control().Font().Color, backgroundColour(),
                                                 static_cast<TCheckBox&>(control()).Checked(),
                                                 focusCues(), dpi());
                result = CDRF_SKIPDEFAULT;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // Where the system draws the box itself (no custom drawing), its colours.
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, control().Font().Color);
            ::SetBkColor(dc, backgroundColour());
            result = reinterpret_cast<LRESULT>(toolkit().brush(backgroundColour()));
            return true;
        }
        default:
            return false;
    }
}

}  // namespace surftally
