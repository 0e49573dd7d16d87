#include "ui/win32/Control.h"

#include <commctrl.h>

#include <string_view>

#include "forms/TApplication.h"
#include "ui/win32/Accessible.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"
#include "ui/win32/Window.h"

namespace surftally {

namespace {

constexpr const wchar_t* kProperty = L"SurftallyControl";

// The child a notification to its parent is about, or null.
HWND childOf(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY:
            return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<HWND>(lParam);
        default:
            return nullptr;
    }
}

}  // namespace

Win32Control::Win32Control(Win32Toolkit& toolkit, TControl& control)
    : toolkit_(toolkit), control_(control) {
    toolkit_.add(control_, *this);
}

Win32Control::~Win32Control() {
    toolkit_.remove(control_);
    const HWND companion = companion_;
    release(companion);
    if (companion != nullptr && ::IsWindow(companion)) {
        ::DestroyWindow(companion);
    }
    const HWND hwnd = hwnd_;
    release(hwnd);
    if (hwnd != nullptr && ::IsWindow(hwnd)) {
        ::DestroyWindow(hwnd);
    }
}

void Win32Control::release(HWND hwnd) {
    if (hwnd != nullptr && ::IsWindow(hwnd)) {
        ::RemoveWindowSubclass(hwnd, subclass, 1);
        ::RemovePropW(hwnd, kProperty);
    }
}

Win32Control* Win32Control::of(HWND hwnd) {
    return hwnd == nullptr ? nullptr : static_cast<Win32Control*>(::GetPropW(hwnd, kProperty));
}

HWND Win32Control::parentHandle() const {
    const Win32Control* parent =
        control_.Parent() != nullptr ? toolkit_.find(*control_.Parent()) : nullptr;
    return parent != nullptr ? parent->native() : nullptr;
}

void Win32Control::create(const wchar_t* className, DWORD style, DWORD exStyle) {
    const HWND hwnd = ::CreateWindowExW(
        exStyle, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parentHandle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(toolkit_.nextId())),
        ::GetModuleHandleW(nullptr), nullptr);
    adopt(hwnd);
    // Pictures are backgrounds (the strip's frame): below every control made after them,
    // which the system puts underneath its older siblings.
    for (HWND sibling = ::GetWindow(hwnd, GW_HWNDFIRST); sibling != nullptr;
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(sibling, name, 32);
        if (std::wstring_view(name) == Win32Toolkit::kImageClass) {
            ::SetWindowPos(sibling, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void Win32Control::adopt(HWND hwnd) {
    hwnd_ = hwnd;
    if (hwnd == nullptr) {
        return;
    }
    ::SetPropW(hwnd, kProperty, this);
    ::SetWindowSubclass(hwnd, subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

void Win32Control::adoptCompanion(HWND hwnd) {
    companion_ = hwnd;
    ::SetPropW(hwnd, kProperty, this);
    ::SetWindowSubclass(hwnd, subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32Control::subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32Control*>(data);
    LRESULT result = 0;
    if (const HWND child = childOf(message, wParam, lParam); child != nullptr && child != hwnd) {
        if (Win32Control* about = of(child);
            about != nullptr && about->reflected(message, wParam, lParam, result)) {
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, subclass, 1);
        ::RemovePropW(hwnd, kProperty);
        if (hwnd == self->hwnd_) {
            self->hwnd_ = nullptr;
        } else if (hwnd == self->companion_) {
            self->companion_ = nullptr;
        }
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_SETFOCUS) {
        // Some window systems raise a window that takes the focus (Wine without a window
        // manager), after the system's z-order: our error boxes go back above it.
        self->toolkit_.raiseMessageBoxesLater();
    }
    if (self->handle(hwnd, message, wParam, lParam, result)) {
        return result;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT Win32Control::callDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

Win32Window* Win32Control::window() const {
    const TControl* c = &control_;
    while (c->Parent() != nullptr) {
        c = c->Parent();
    }
    return dynamic_cast<Win32Window*>(toolkit_.find(*c));
}

int Win32Control::dpi() const {
    const Win32Window* form = window();
    return form != nullptr ? form->dpi() : Win32Dpi::System();
}

int Win32Control::scale(int pixels) const {
    return Win32Dpi::Scale(pixels, dpi());
}

COLORREF Win32Control::backgroundColour() const {
    if (control_.Opaque()) {
        return control_.Color();
    }
    const Win32Control* parent =
        control_.Parent() != nullptr ? toolkit_.find(*control_.Parent()) : nullptr;
    return parent != nullptr ? parent->backgroundColour() : ::GetSysColor(COLOR_BTNFACE);
}

bool Win32Control::focusCues() const {
    const Win32Window* form = window();
    return form != nullptr && form->focusCues();
}

HFONT Win32Control::font() const {
    return toolkit_.fonts().get(control_.Font(), dpi());
}

void Win32Control::redraw() const {
    if (hwnd_ != nullptr) {
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void Win32Control::changed(Property property) {
    if (hwnd_ == nullptr) {
        return;
    }
    switch (property) {
        case Property::Bounds: {
            const TRect& b = control_.Bounds();
            ::SetWindowPos(hwnd_, nullptr, scale(b.Left), scale(b.Top), scale(b.Width),
                           scale(b.Height), SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case Property::Visible:
            ::ShowWindow(hwnd_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Font:
            ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
            redraw();
            break;
        case Property::Colour:
            redraw();
            break;
        case Property::Hint:
            if (Win32Window* form = window(); form != nullptr && form != this) {
                form->setTip(hwnd_, control_.Hint());
            }
            break;
        case Property::Cursor:
            break;
        case Property::Accessible:
            // Most controls keep what Windows makes of their own text.
            if (!control_.AccessibleName().empty() || !control_.AccessibleDescription().empty()) {
                Win32Accessible::Describe(hwnd_, control_.AccessibleName(),
                                          control_.AccessibleDescription());
            }
            break;
        default:
            apply(property);
            break;
    }
}

void Win32Control::apply(Property property) {
    if (property == Property::Caption) {
        ::SetWindowTextW(hwnd_, Wide(control_.Caption()).c_str());
        redraw();
    }
}

void Win32Control::takeFocus() {
    if (hwnd_ != nullptr) {
        ::SetFocus(hwnd_);
    }
}

bool Win32Control::reflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Win32Control::handle(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_SETCURSOR && control_.Cursor() == TCursor::HandPoint &&
        LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    }
    return false;
}

void Win32Control::rescale() {
    changed(Property::Font);
    changed(Property::Bounds);
    redraw();
}

}  // namespace surftally
