#include "ui/win32/PaintBox.h"

#include <algorithm>
#include <vector>

#include "ui/win32/Dpi.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

namespace {

COLORREF blend(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

RECT rectOf(const TRect& r) {
    return {r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    const HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

void drawLine(HDC dc, const Shape& shape, COLORREF colour) {
    const TRect& r = shape.rect;
    const int width = std::max(1, shape.lineWidth);
    const int x1 = std::min(r.Left, r.Left + r.Width);
    const int x2 = std::max(r.Left, r.Left + r.Width);
    const int y1 = std::min(r.Top, r.Top + r.Height);
    const int y2 = std::max(r.Top, r.Top + r.Height);
    if (x1 == x2 || y1 == y2) {
        // Along an axis: every pixel from one end to the other, both included, the width
        // growing right of a vertical line and below a horizontal one.
        fill(dc, RECT{x1, y1, std::max(x2 + 1, x1 + width), std::max(y2 + 1, y1 + width)}, colour);
        return;
    }
    const HPEN pen = ::CreatePen(PS_SOLID, width, colour);
    const HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, r.Left, r.Top, nullptr);
    ::LineTo(dc, r.Left + r.Width, r.Top + r.Height);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void drawText(HDC dc, const Shape& shape, COLORREF colour, Win32Fonts& fonts) {
    TFont font;
    font.PixelSize = shape.pixelSize;
    // The size is in device pixels already.
    const HGDIOBJ old = ::SelectObject(dc, fonts.get(font, Win32Dpi::kDesign));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    RECT rect = rectOf(shape.rect);
    const std::wstring text = Wide(shape.text);
    const UINT align = shape.alignment == TAlignment::Center  ? DT_CENTER
                       : shape.alignment == TAlignment::Right ? DT_RIGHT
                                                              : DT_LEFT;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(dc, old);
}

// The shapes in device pixels, in order.
void drawShapes(HDC dc, const std::vector<Shape>& shapes, Win32Fonts& fonts) {
    for (const Shape& shape : shapes) {
        const COLORREF colour = Win32PaintBox::RoleColour(shape.role);
        switch (shape.kind) {
            case Shape::Kind::Box:
                fill(dc, rectOf(shape.rect), colour);
                break;
            case Shape::Kind::Line:
                drawLine(dc, shape, colour);
                break;
            case Shape::Kind::Text:
                drawText(dc, shape, colour, fonts);
                break;
        }
    }
}

}  // namespace

Win32PaintBox::Win32PaintBox(Win32Toolkit& toolkit, TControl& control)
    : Win32Painted(toolkit, control, Win32Toolkit::kPaintBoxClass, 0, 0, {Property::Picture}) {}

COLORREF Win32PaintBox::RoleColour(ShapeRole role) {
    switch (role) {
        case ShapeRole::Background:
            return ::GetSysColor(COLOR_WINDOW);
        case ShapeRole::Axis:
        case ShapeRole::Text:
            return ::GetSysColor(COLOR_WINDOWTEXT);
        case ShapeRole::Online:
            return blend(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_WINDOW));
        case ShapeRole::Charged:
            return ::GetSysColor(COLOR_HIGHLIGHT);
    }
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

void Win32PaintBox::paint(HDC dc, const RECT& client) const {
    // Nothing the shapes leave uncovered keeps an older picture.
    fill(dc, client, RoleColour(ShapeRole::Background));
    const auto& box = static_cast<const TPaintBox&>(control());
    drawShapes(dc,
               box.Paint(TSize{client.right, client.bottom},
                         static_cast<double>(dpi()) / Win32Dpi::kDesign),
               toolkit().fonts());
}

}  // namespace surftally
