#include "ui/win32/GroupBox.h"

#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

Win32GroupBox::Win32GroupBox(Win32Toolkit& toolkit, TControl& control)
    : Win32Painted(toolkit, control, Win32Toolkit::kGroupBoxClass, WS_CLIPCHILDREN,
                   WS_EX_CONTROLPARENT, {Property::Caption}) {}

// The inside of the box is the dialog's; only the caption has the box's colour.
COLORREF Win32GroupBox::backgroundColour() const {
    return ::GetSysColor(COLOR_BTNFACE);
}

void Win32GroupBox::paint(HDC dc) const {
    RECT client;
    ::GetClientRect(native(), &client);
    ::FillRect(dc, &client, toolkit().brush(backgroundColour()));
    const HGDIOBJ old = ::SelectObject(dc, font());
    const std::wstring caption = Wide(control().Caption());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    RECT frame = client;
    frame.top = extent.cy / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        RECT label{scale(6), 0, scale(6) + extent.cx, extent.cy};
        ::FillRect(dc, &label, toolkit().brush(control().Color()));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, control().Font().Color);
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SelectObject(dc, old);
}

}  // namespace surftally
