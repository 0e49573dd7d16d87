#pragma once

#include <string>

#include "ui/win32/Control.h"

namespace surftally {

// What the masked edit, the spin edit and the memo share as system edits: the colours they
// answer their parent with, and the clipboard's text that a paste offers to the control's rules.
class Win32Edit : public Win32Control {
public:
    // The parent asks for the colours: the control's text colour on its background.
    bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // `colourMessage` is what the parent is asked for the colours with: WM_CTLCOLOREDIT by an
    // edit the user types in, WM_CTLCOLORSTATIC by a read-only one.
    Win32Edit(Win32Toolkit& toolkit, TControl& control, DWORD style, UINT colourMessage);

    // The clipboard's text, empty when it holds none.
    std::wstring clipboardText() const;
    // The edit's own undo and context menu, which would change the text past the control's
    // rules: an edit the user types in answers them by doing nothing.
    static bool ownEditing(UINT message);
    // Shift+Insert, the other paste key (the edit would insert the text itself).
    static bool pasteKey(WPARAM key);

private:
    UINT colourMessage_;
};

}  // namespace surftally
