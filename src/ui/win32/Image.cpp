#include "ui/win32/Image.h"

#include "forms/TImage.h"
#include "ui/win32/StripDrawing.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

Win32Image::Win32Image(Win32Toolkit& toolkit, TControl& control)
    : Win32Painted(toolkit, control, Win32Toolkit::kImageClass, 0, 0,
                   {Property::Picture, Property::Caption}) {}

void Win32Image::paint(HDC dc) const {
    RECT client;
    ::GetClientRect(native(), &client);
    Win32StripDrawing::DrawPicture(dc, client, static_cast<const TImage&>(control()).Picture(),
                                   toolkit().fonts().get(Win32Toolkit::DisplayFont(), dpi()),
                                   dpi());
}

}  // namespace surftally
