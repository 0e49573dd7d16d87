#include "ui/win32/Window.h"

#include <commctrl.h>

#include "forms/TApplication.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

namespace {

bool isStrip(const TForm& form) {
    return form.Style() == FormStyle::Strip;
}

}  // namespace

Win32Window::Win32Window(Win32Toolkit& toolkit, TForm& form)
    : Win32Control(toolkit, form), form_(form), dpi_(Win32Dpi::System()) {
    const HWND hwnd = ::CreateWindowExW(
        exStyle(), isStrip(form) ? Win32Toolkit::kStripClass : Win32Toolkit::kDialogClass, L"",
        style(), 0, 0, 0, 0, isStrip(form) ? nullptr : toolkit.owner(), nullptr,
        ::GetModuleHandleW(nullptr), nullptr);
    adopt(hwnd);
    dpi_ = Win32Dpi::ForWindow(hwnd);
    if (!isStrip(form)) {
        toolkit.addDialog(hwnd);
    }
}

Win32Window::~Win32Window() {
    toolkit().removeDialog(native());
    if (tooltip_ != nullptr) {
        ::DestroyWindow(tooltip_);
    }
}

DWORD Win32Window::style() const {
    if (isStrip(form_)) {
        return WS_POPUP | WS_CLIPCHILDREN;
    }
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD Win32Window::exStyle() const {
    if (isStrip(form_)) {
        return WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }
    return WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
}

COLORREF Win32Window::backgroundColour() const {
    if (isStrip(form_)) {
        return RGB(0, 0, 0);
    }
    // The form's fixed face, under which its fixed text colours stay readable.
    return form_.Opaque() ? form_.Color() : ::GetSysColor(COLOR_BTNFACE);
}

void Win32Window::place() {
    const TRect& b = form_.Bounds();
    const int system = Win32Dpi::System();
    const int left = Win32Dpi::Scale(b.Left, system);
    const int top = Win32Dpi::Scale(b.Top, system);
    RECT rect{left, top, left + scale(b.Width), top + scale(b.Height)};
    Win32Dpi::AdjustWindowRect(rect, style(), exStyle(), dpi_);
    // The client area stands where the form says; the frame goes around it.
    const int dx = left - rect.left;
    const int dy = top - rect.top;
    ::SetWindowPos(native(), nullptr, left - dx, top - dy, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::changed(Property property) {
    if (native() == nullptr) {
        return;
    }
    switch (property) {
        case Property::Bounds:
            place();
            break;
        case Property::Visible:
            if (form_.Visible()) {
                // Focus marks appear once the keyboard is used, as in the system's dialogs.
                focusCues_ = false;
            }
            ::ShowWindow(native(), form_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Caption:
            ::SetWindowTextW(native(), Wide(form_.Caption()).c_str());
            break;
        case Property::Font:
        case Property::Colour:
            redraw();
            break;
        default:
            break;
    }
}

void Win32Window::makeTopmost() {
    ::SetWindowPos(native(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::activate() {
    ::SetForegroundWindow(native());
    ::SetActiveWindow(native());
}

void Win32Window::userKey(TKey key) {
    const HWND focus = ::GetFocus();
    const Win32Control* peer =
        focus != nullptr && ::IsChild(native(), focus) ? Win32Control::of(focus) : nullptr;
    TControl* focused = peer != nullptr ? &peer->control() : nullptr;
    guarded([&] { form_.userKey(key, focused); });
}

void Win32Window::showFocusCues() {
    if (!focusCues_) {
        focusCues_ = true;
        ::RedrawWindow(native(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void Win32Window::setTip(HWND control, const std::string& text) {
    if (tooltip_ == nullptr) {
        if (text.empty()) {
            return;
        }
        tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, native(), nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale(400));
    }
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = native();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    const bool known = tips_.count(control) != 0;
    if (text.empty()) {
        if (known) {
            ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            tips_.erase(control);
        }
    } else if (known) {
        ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        tips_[control] = true;
    }
}

bool Win32Window::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CLOSE:
            // The title bar's close button: the form decides; the window is never destroyed.
            guarded([this] { form_.userClose(); });
            return true;
        case WM_COMMAND:
            // Enter and Escape in a dialog (IDOK, IDCANCEL) close nothing.
            return lParam == 0;
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(hwnd, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, toolkit().brush(backgroundColour()));
            result = 1;
            return true;
        }
        case WM_ACTIVATE:
            // A dialog gives the focus back to the control that had it.
            if (isStrip(form_)) {
                return false;
            }
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = ::GetFocus();
                focus_ = ::IsChild(hwnd, focus) ? focus : nullptr;
            } else {
                const HWND target = focus_ != nullptr && ::IsWindow(focus_)
                                        ? focus_
                                        : ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
                if (target != nullptr) {
                    ::SetFocus(target);
                }
            }
            return true;
        case WM_DPICHANGED: {
            // Moved to a monitor of another scale: the controls take its DPI and the window
            // the rectangle the system suggests, so that it does not snap back.
            dpi_ = HIWORD(wParam);
            toolkit().rescale(*this);
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top,
                           suggested.right - suggested.left, suggested.bottom - suggested.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }
        case WM_WINDOWPOSCHANGED:
            // One of our windows came to the front: our error boxes stay above it.
            if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) == 0) {
                toolkit().raiseMessageBoxes();
            }
            return false;
        default:
            return Win32Control::handle(hwnd, message, wParam, lParam, result);
    }
}

}  // namespace surftally
