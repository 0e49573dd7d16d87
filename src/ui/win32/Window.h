#pragma once

#include <map>
#include <string>

#include "forms/TForm.h"
#include "ui/win32/Control.h"

namespace surftally {

// A form's top-level window. The strip is a borderless topmost popup tool window, which has no
// taskbar button; a dialog has a title bar with its close button, a fixed size, and is owned
// by the toolkit's hidden window, so it has no taskbar button either. Bounds are the client
// area: its place on the screen scaled by the system DPI, its size by the window's own.
class Win32Window : public Win32Control {
public:
    Win32Window(Win32Toolkit& toolkit, TForm& form);
    ~Win32Window() override;

    TForm& form() const { return form_; }

    void changed(Property property) override;
    Win32Window* window() const override { return const_cast<Win32Window*>(this); }
    int dpi() const override { return dpi_; }
    COLORREF backgroundColour() const override;

    void makeTopmost();
    void activate();
    // Enter or Escape pressed in the window: the form decides, told which control has the
    // focus.
    void userKey(TKey key);

    // The keyboard moved the focus in the window: from now on the focus is marked.
    void showFocusCues();
    bool focusCues() const { return focusCues_; }

    // The tooltip of a control of this window; an empty text removes it.
    void setTip(HWND control, const std::string& text);

protected:
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    DWORD style() const;
    DWORD exStyle() const;
    void place();

    TForm& form_;
    int dpi_;
    HWND tooltip_ = nullptr;
    std::map<HWND, bool> tips_;
    HWND focus_ = nullptr;
    bool focusCues_ = false;
};

}  // namespace surftally
