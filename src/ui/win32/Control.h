#pragma once

#include <windows.h>

#include <utility>

#include "forms/TApplication.h"
#include "forms/TControl.h"
#include "forms/Toolkit.h"

namespace surftally {

class Win32Toolkit;
class Win32Window;

// A control drawn by a Win32 window. The properties every control has are applied here; each
// kind adds its own in apply() and answers its window's messages in handle(). The notifications
// a parent gets about a child (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR...) go back to the child's
// reflected(), so that each control deals with its own.
class Win32Control {
public:
    Win32Control(Win32Toolkit& toolkit, TControl& control);
    virtual ~Win32Control();
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    TControl& control() const { return control_; }
    Win32Toolkit& toolkit() const { return toolkit_; }
    // The control's window.
    HWND native() const { return hwnd_; }

    // The ControlPeer calls.
    virtual void changed(Property property);
    virtual void takeFocus();

    // The form the control is on, and that form's DPI.
    virtual Win32Window* window() const;
    virtual int dpi() const;
    int scale(int pixels) const;

    // The colour the control's children and see-through parts are drawn on.
    virtual COLORREF backgroundColour() const;
    HFONT font() const;
    // Whether the focus is marked on the control's window (the keyboard has been used there).
    bool focusCues() const;

    // A notification the parent got about this control. True when answered.
    virtual bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Everything that depends on the DPI, applied again (the form moved to another monitor).
    virtual void rescale();

    // The control whose window this is, if any.
    static Win32Control* of(HWND hwnd);

protected:
    // Creates the control's window as a child of its parent control's window.
    void create(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // Takes over a window made elsewhere (a form, a control's companion).
    void adopt(HWND hwnd);
    // Another window of this control (the arrows of a spin edit): its messages come to
    // handle() and its parent's notifications to reflected() too.
    void adoptCompanion(HWND hwnd);
    HWND parentHandle() const;

    // The properties of a kind of control; here the caption, as the window's text.
    virtual void apply(Property property);
    // A message of the control's own window. True when answered.
    virtual bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window's own processing of the message being handled.
    LRESULT callDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs input through the application's error guard.
    template <class F>
    void guarded(F&& f) {
        control_.Application().Guarded(std::forward<F>(f));
    }
    void redraw() const;

private:
    static LRESULT CALLBACK subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
    void release(HWND hwnd);

    Win32Toolkit& toolkit_;
    TControl& control_;
    HWND hwnd_ = nullptr;
    HWND companion_ = nullptr;
};

}  // namespace surftally
