#include "ui/win32/SpinEdit.h"

#include <commctrl.h>

#include <vector>

#include "forms/TSpinEdit.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

namespace {

std::wstring textOf(HWND hwnd) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1);
    ::GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

}  // namespace

Win32SpinEdit::Win32SpinEdit(Win32Toolkit& toolkit, TControl& control)
    : Win32Edit(toolkit, control, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WM_CTLCOLOREDIT) {
    // The arrows' own position is never used: the control's value is the text.
    arrows_ = ::CreateWindowExW(
        0, UPDOWN_CLASSW, nullptr, WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
        0, 0, 0, parentHandle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(arrows_, UDM_SETRANGE32, 0, 1'000'000);
    ::SendMessageW(arrows_, UDM_SETPOS32, 0, 500'000);
    adoptCompanion(arrows_);
}

TSpinEdit& Win32SpinEdit::spin() const {
    return static_cast<TSpinEdit&>(control());
}

void Win32SpinEdit::attachArrows() {
    // Setting the buddy again places the arrows inside the edit's right edge; it may also
    // write the arrows' position into the edit, so the control's text goes back in.
    ::SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(native()), 0);
    ::SetWindowTextW(native(), Wide(spin().Text()).c_str());
}

void Win32SpinEdit::changed(Property property) {
    Win32Control::changed(property);
    if (property == Property::Bounds) {
        attachArrows();
    } else if (property == Property::Visible) {
        ::ShowWindow(arrows_, control().Visible() ? SW_SHOWNA : SW_HIDE);
    }
}

void Win32SpinEdit::apply(Property property) {
    if (property == Property::Range) {
        ::SendMessageW(native(), EM_LIMITTEXT, static_cast<WPARAM>(spin().MaxLength()), 0);
    } else if (property == Property::Caption) {
        const std::wstring text = Wide(spin().Text());
        if (textOf(native()) != text) {
            ::SetWindowTextW(native(), text.c_str());
            const auto end = static_cast<WPARAM>(text.size());
            ::SendMessageW(native(), EM_SETSEL, end, end);
        }
    }
}

void Win32SpinEdit::propose(const std::wstring& insert, bool forward) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(native(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    std::wstring text = textOf(native());
    if (start == end && insert.empty()) {
        if (forward && end < text.size()) {
            ++end;
        } else if (!forward && start > 0) {
            --start;
        } else {
            return;
        }
    }
    text.replace(start, end - start, insert);
    const DWORD caret = start + static_cast<DWORD>(insert.size());
    bool taken = false;
    guarded([&] { taken = spin().userEdit(Narrow(text)); });
    if (native() == nullptr) {
        return;
    }
    // The control has shown its text (the proposal, or the old text when refused).
    if (taken) {
        ::SendMessageW(native(), EM_SETSEL, caret, caret);
    } else {
        ::SendMessageW(native(), EM_SETSEL, start, end);
        ::MessageBeep(MB_OK);
    }
}

bool Win32SpinEdit::reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == arrows_ && header.code == UDN_DELTAPOS) {
            const int steps = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
            guarded([&] { spin().userStep(steps); });
            result = 1;  // the arrows keep their own position
            return true;
        }
        return false;
    }
    return Win32Edit::reflected(message, wParam, lParam, result);
}

bool Win32SpinEdit::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (hwnd != native()) {
        return Win32Control::handle(hwnd, message, wParam, lParam, result);
    }
    if (ownEditing(message)) {
        return true;
    }
    switch (message) {
        case WM_CHAR:
            if (wParam >= L' ' && wParam != 0x7F) {
                propose(std::wstring(1, static_cast<wchar_t>(wParam)));
            } else if (wParam == VK_BACK) {
                propose(L"");
            } else if (wParam == 0x16) {  // Ctrl+V
                propose(clipboardText());
            } else if (wParam == 0x03) {  // Ctrl+C
                return false;
            }
            return true;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) {
                propose(L"", true);
                return true;
            }
            if (pasteKey(wParam)) {
                propose(clipboardText());
                return true;
            }
            return false;
        case WM_PASTE:
            propose(clipboardText());
            return true;
        case WM_CUT:
        case WM_CLEAR:
            propose(L"", true);
            return true;
        case WM_KILLFOCUS:
            result = callDefault(hwnd, message, wParam, lParam);
            guarded([&] { spin().userFocusOut(); });
            return true;
        default:
            return Win32Control::handle(hwnd, message, wParam, lParam, result);
    }
}

}  // namespace surftally
