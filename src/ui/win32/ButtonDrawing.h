#pragma once

#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <string>

namespace surftally {

// Push buttons and check boxes drawn in the current visual style (common controls 6), or in
// the classic look where no style is active, with the control's own font and text colour:
// the system's drawing of a themed button ignores both. The focus is marked only with
// `focusCues`, once the keyboard has been used in the window, as the system's controls do.
namespace Win32ButtonDrawing {

void DrawPushButton(const NMCUSTOMDRAW& draw, const std::wstring& text, HFONT font,
                    COLORREF textColour, bool focusCues);

void DrawCheckBox(const NMCUSTOMDRAW& draw, const std::wstring& text, HFONT font,
                  COLORREF textColour, COLORREF background, bool checked, bool focusCues, int dpi);

}  // namespace Win32ButtonDrawing

}  // namespace surftally
