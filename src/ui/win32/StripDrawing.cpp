#include "ui/win32/StripDrawing.h"

#include "forms/StripLook.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"

namespace surftally::Win32StripDrawing {

namespace {

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

}  // namespace

int FrameWidth(int dpi) {
    return Win32Dpi::Scale(StripLook::kFrameWidth, dpi);
}

void DrawFrame(HDC dc, const RECT& rect, int dpi) {
    const int outer = Win32Dpi::Scale(1, dpi);
    const int inner = FrameWidth(dpi) - outer;
    RECT r = rect;
    fill(dc, r, StripLook::kOuterFrame);
    ::InflateRect(&r, -outer, -outer);
    fill(dc, r, StripLook::kInnerFrame);
    ::InflateRect(&r, -inner, -inner);
    fill(dc, r, RGB(0, 0, 0));
}

void DrawText(HDC dc, const RECT& rect, const std::wstring& text, COLORREF background,
              COLORREF textColour, HFONT font, bool centred) {
    fill(dc, rect, background);
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColour);
    RECT r = rect;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                (centred ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

void DrawPicture(HDC dc, const RECT& rect, const DisplayPicture& picture, HFONT font, int dpi) {
    DrawFrame(dc, rect, dpi);
    if (picture.Text.empty()) {
        return;
    }
    RECT display = rect;
    const int frame = FrameWidth(dpi);
    ::InflateRect(&display, -frame, -frame);
    DrawText(dc, display, Wide(picture.Text), picture.Background, picture.TextColour, font);
}

}  // namespace surftally::Win32StripDrawing
