#include "ui/win32/ButtonDrawing.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "ui/win32/Dpi.h"

namespace surftally::Win32ButtonDrawing {

namespace {

class Theme {
public:
    explicit Theme(HWND hwnd)
        : theme_(::IsAppThemed() ? ::OpenThemeData(hwnd, L"BUTTON") : nullptr) {}
    ~Theme() {
        if (theme_ != nullptr) {
            ::CloseThemeData(theme_);
        }
    }
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;
    HTHEME get() const { return theme_; }

private:
    HTHEME theme_;
};

void text(HDC dc, RECT rect, const std::wstring& caption, HFONT font, COLORREF colour,
          UINT format) {
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
                format | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

}  // namespace

void DrawPushButton(const NMCUSTOMDRAW& draw, const std::wstring& caption, HFONT font,
                    COLORREF textColour, bool focusCues) {
    const HDC dc = draw.hdc;
    const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    const bool disabled = (draw.uItemState & CDIS_DISABLED) != 0;
    const bool focused = focusCues && (draw.uItemState & CDIS_FOCUS) != 0;
    RECT content = draw.rc;
    const Theme theme(draw.hdr.hwndFrom);
    if (theme.get() != nullptr) {
        const int state = disabled                            ? PBS_DISABLED
                          : pressed                           ? PBS_PRESSED
                          : (draw.uItemState & CDIS_HOT) != 0 ? PBS_HOT
                          : focused                           ? PBS_DEFAULTED
                                                              : PBS_NORMAL;
        if (::IsThemeBackgroundPartiallyTransparent(theme.get(), BP_PUSHBUTTON, state)) {
            RECT area = draw.rc;
            ::DrawThemeParentBackground(draw.hdr.hwndFrom, dc, &area);
        }
        ::DrawThemeBackground(theme.get(), dc, BP_PUSHBUTTON, state, &draw.rc, nullptr);
        ::GetThemeBackgroundContentRect(theme.get(), dc, BP_PUSHBUTTON, state, &draw.rc, &content);
    } else {
        RECT frame = draw.rc;
        ::DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        ::InflateRect(&content, -2, -2);
        if (pressed) {
            ::OffsetRect(&content, 1, 1);
        }
    }
    text(dc, content, caption, font, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : textColour,
         DT_CENTER);
    if (focused) {
        RECT focus = content;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(dc, &focus);
    }
}

void DrawCheckBox(const NMCUSTOMDRAW& draw, const std::wstring& caption, HFONT font,
                  COLORREF textColour, COLORREF background, bool checked, bool focusCues, int dpi) {
    const HDC dc = draw.hdc;
    const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    const bool hot = (draw.uItemState & CDIS_HOT) != 0;
    const bool disabled = (draw.uItemState & CDIS_DISABLED) != 0;
    const HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(dc, &draw.rc, brush);
    ::DeleteObject(brush);

    const int size = Win32Dpi::Scale(13, dpi);
    const Theme theme(draw.hdr.hwndFrom);
    const int height = draw.rc.bottom - draw.rc.top;
    RECT glyph{draw.rc.left, draw.rc.top + (height - size) / 2, draw.rc.left + size,
               draw.rc.top + (height - size) / 2 + size};
    if (theme.get() != nullptr) {
        const int base = checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
        const int state = base + (disabled ? 3 : pressed ? 2 : hot ? 1 : 0);
        SIZE part{};
        if (SUCCEEDED(
                ::GetThemePartSize(theme.get(), dc, BP_CHECKBOX, state, nullptr, TS_DRAW, &part))) {
            glyph = {draw.rc.left, draw.rc.top + (height - part.cy) / 2, draw.rc.left + part.cx,
                     draw.rc.top + (height - part.cy) / 2 + part.cy};
        }
        ::DrawThemeBackground(theme.get(), dc, BP_CHECKBOX, state, &glyph, nullptr);
    } else {
        ::DrawFrameControl(
            dc, &glyph, DFC_BUTTON,
            DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) | (pressed ? DFCS_PUSHED : 0));
    }
    RECT label = draw.rc;
    label.left = glyph.right + Win32Dpi::Scale(4, dpi);
    text(dc, label, caption, font, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : textColour, DT_LEFT);
    if (focusCues && (draw.uItemState & CDIS_FOCUS) != 0) {
        RECT focus = label;
        const HGDIOBJ old = ::SelectObject(dc, font);
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &focus,
                    DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
        const int textHeight = focus.bottom - focus.top;
        focus.top = label.top + (height - textHeight) / 2;
        focus.bottom = focus.top + textHeight;
        ::InflateRect(&focus, 1, 0);
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace surftally::Win32ButtonDrawing
