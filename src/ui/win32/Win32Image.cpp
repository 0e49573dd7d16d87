#include "Win32Image.h"

#include "TImage.h"
#include "Win32Paint.h"
#include "Win32StripDrawing.h"
#include "Win32Toolkit.h"

namespace surftally {

Win32Image::Win32Image(Win32Toolkit& toolkit, TControl& control) : Win32Control(toolkit, control) {
    create(Win32Toolkit::kImageClass, 0);
}

void Win32Image::paint(HDC dc) const {
    RECT client;
    ::GetClientRect(native(), &client);
    Win32StripDrawing::DrawPicture(dc, client, static_cast<const TImage&>(control()).Picture(),
                                   toolkit().fonts().get(Win32Toolkit::DisplayFont(), dpi()),
                                   dpi());
}

void Win32Image::apply(Property property) {
    if (property == Property::Picture || property == Property::Caption) {
        redraw();
    }
}

bool Win32Image::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandleOwnPainting(hwnd, message, wParam, result, [this](HDC dc) { paint(dc); })) {
        return true;
    }
    return Win32Control::handle(hwnd, message, wParam, lParam, result);
}

}  // namespace surftally
