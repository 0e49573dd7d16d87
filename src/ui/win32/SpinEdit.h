#pragma once

#include <string>

#include "ui/win32/Edit.h"

namespace surftally {

class TSpinEdit;

// A spin edit: an edit with an up-down control beside it. What the user's typing would make
// of the text goes to the control, which takes or refuses it; the arrows and the up and down
// keys step the value.
class Win32SpinEdit : public Win32Edit {
public:
    Win32SpinEdit(Win32Toolkit& toolkit, TControl& control);

    bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void changed(Property property) override;
    void apply(Property property) override;
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TSpinEdit& spin() const;
    // Offers the text with the selection replaced by `insert` (a delete when empty; with
    // nothing selected a delete takes the character before the caret, or after it when
    // `forward`).
    void propose(const std::wstring& insert, bool forward = false);
    void attachArrows();

    HWND arrows_ = nullptr;
};

}  // namespace surftally
