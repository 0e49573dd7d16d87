#pragma once

#include "ui/win32/Edit.h"

namespace surftally {

class TMaskEdit;

// A masked edit: an edit control whose typing, keys, caret and focus go to the control's
// mask rules, which decide the text and the caret; the edit only shows them.
class Win32MaskEdit : public Win32Edit {
public:
    Win32MaskEdit(Win32Toolkit& toolkit, TControl& control);

    void takeFocus() override;

protected:
    void apply(Property property) override;
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TMaskEdit& edit() const;
    void showCaret();
    void paste();
    void caretFromEdit();

    // A click is giving the field the focus.
    bool pointerEntry_ = false;
};

}  // namespace surftally
