#pragma once

#include <windows.h>

#include <string>

#include "forms/TImage.h"

namespace surftally {

// The display strip's look (StripLook) in GDI, shared by the strip and the help window's sample
// pictures: black inside its frame, and the display inside the frame, its text centred on its
// background.
namespace Win32StripDrawing {

// The frame's width in device pixels at a DPI.
int FrameWidth(int dpi);

// The frame around black over the whole rectangle.
void DrawFrame(HDC dc, const RECT& rect, int dpi);

// The display's face: the background, and the text centred in it (left-aligned when
// `centred` is false).
void DrawText(HDC dc, const RECT& rect, const std::wstring& text, COLORREF background,
              COLORREF textColour, HFONT font, bool centred = true);

// A sample picture: the frame, and inside it the display with the picture's text; only the
// frame around black when the text is empty.
void DrawPicture(HDC dc, const RECT& rect, const DisplayPicture& picture, HFONT font, int dpi);

}  // namespace Win32StripDrawing

}  // namespace surftally
