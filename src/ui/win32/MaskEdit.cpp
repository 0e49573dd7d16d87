#include "ui/win32/MaskEdit.h"

#include "forms/TMaskEdit.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"
#include "ui/win32/Window.h"

namespace surftally {

namespace {

// Posted by a refused leave: the focus comes back once the change under way is over.
constexpr UINT kTakeFocus = WM_APP + 10;

}  // namespace

Win32MaskEdit::Win32MaskEdit(Win32Toolkit& toolkit, TControl& control)
    : Win32Edit(toolkit, control, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WM_CTLCOLOREDIT) {}

TMaskEdit& Win32MaskEdit::edit() const {
    return static_cast<TMaskEdit&>(control());
}

void Win32MaskEdit::showCaret() {
    const int caret = edit().CaretPos();
    ::SendMessageW(native(), EM_SETSEL, caret, caret);
}

void Win32MaskEdit::apply(Property property) {
    if (property == Property::Caption) {
        ::SetWindowTextW(native(), Wide(edit().Text()).c_str());
        showCaret();
    } else if (property == Property::CaretPos) {
        showCaret();
    }
}

void Win32MaskEdit::takeFocus() {
    ::PostMessageW(native(), kTakeFocus, 0, 0);
}

// The edit has moved its caret or selected (a key, a click, a drag): the field has no
// selection, so its caret goes to the selection's moving end, which the edit then shows alone.
void Win32MaskEdit::caretFromEdit() {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(native(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    // The selection grew from the field's caret, where the edit's caret stood before.
    const int anchor = edit().CaretPos();
    const int caret = start != end && static_cast<int>(end) == anchor ? static_cast<int>(start)
                                                                      : static_cast<int>(end);
    guarded([&] { edit().userCaret(caret); });
    showCaret();
}

void Win32MaskEdit::paste() {
    const std::string text = Narrow(clipboardText());
    guarded([&] { edit().userInsert(text); });
}

bool Win32MaskEdit::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (ownEditing(message)) {
        return true;
    }
    switch (message) {
        case WM_GETDLGCODE: {
            result = callDefault(hwnd, message, wParam, lParam) | DLGC_WANTCHARS | DLGC_WANTARROWS;
            return true;
        }
        case WM_CHAR:
            if (wParam >= L' ' && wParam != 0x7F) {
                const char c = wParam < 0x80 ? static_cast<char>(wParam) : '?';
                guarded([&] { edit().userChar(c); });
            } else if (wParam == 0x16) {  // Ctrl+V
                paste();
            } else if (wParam == 0x03) {  // Ctrl+C copies what is selected
                return false;
            }
            return true;
        case WM_KEYDOWN: {
            const bool shift = ::GetKeyState(VK_SHIFT) < 0;
            const bool control = ::GetKeyState(VK_CONTROL) < 0;
            TKey key;
            switch (wParam) {
                case VK_BACK:
                    key = TKey::Backspace;
                    break;
                case VK_DELETE:
                    key = TKey::Delete;
                    break;
                case VK_RETURN:
                case VK_ESCAPE:
                    // The window's keys, sent here directly rather than through the loop.
                    if (Win32Window* form = window()) {
                        form->userKey(wParam == VK_RETURN ? TKey::Enter : TKey::Escape);
                    }
                    return true;
                case VK_LEFT:
                case VK_RIGHT:
                case VK_HOME:
                case VK_END:
                    if (shift || control) {
                        // Selecting or moving by words: the edit's own move, taken over.
                        result = callDefault(hwnd, message, wParam, lParam);
                        caretFromEdit();
                        return true;
                    }
                    key = wParam == VK_LEFT    ? TKey::Left
                          : wParam == VK_RIGHT ? TKey::Right
                          : wParam == VK_HOME  ? TKey::Home
                                               : TKey::End;
                    break;
                case VK_INSERT:
                    if (pasteKey(wParam)) {
                        paste();
                        return true;
                    }
                    return false;
                default:
                    // Every other key the edit moves its caret with (Up, Down, the Page keys,
                    // Ctrl+A...) moves the field's caret with it.
                    result = callDefault(hwnd, message, wParam, lParam);
                    caretFromEdit();
                    return true;
            }
            guarded([&] { edit().userKey(key); });
            return true;
        }
        case WM_PASTE:
            paste();
            return true;
        case WM_CUT:
        case WM_CLEAR:
            return true;
        case WM_LBUTTONDBLCLK:
            result = callDefault(hwnd, WM_LBUTTONDOWN, wParam, lParam);
            caretFromEdit();
            return true;
        case WM_LBUTTONDOWN:
            pointerEntry_ = true;
            result = callDefault(hwnd, message, wParam, lParam);
            pointerEntry_ = false;
            caretFromEdit();
            return true;
        case WM_LBUTTONUP:
            result = callDefault(hwnd, message, wParam, lParam);
            caretFromEdit();
            return true;
        case WM_MOUSEMOVE:
            // A drag takes the caret along.
            if ((wParam & MK_LBUTTON) == 0 || ::GetCapture() != hwnd) {
                return false;
            }
            result = callDefault(hwnd, message, wParam, lParam);
            caretFromEdit();
            return true;
        case WM_SETFOCUS: {
            result = callDefault(hwnd, message, wParam, lParam);
            const FocusEntry how = toolkit().keyboardNavigation() ? FocusEntry::Keyboard
                                   : pointerEntry_                ? FocusEntry::Pointer
                                                                  : FocusEntry::Other;
            guarded([&] { edit().userFocusIn(how); });
            showCaret();
            return true;
        }
        case WM_KILLFOCUS: {
            result = callDefault(hwnd, message, wParam, lParam);
            const auto to = reinterpret_cast<HWND>(wParam);
            const bool within =
                to != nullptr && ::GetAncestor(to, GA_ROOT) == ::GetAncestor(hwnd, GA_ROOT);
            guarded([&] {
                edit().userFocusOut(within ? FocusChange::WithinWindow : FocusChange::WindowSwitch);
            });
            return true;
        }
        case kTakeFocus:
            ::SetFocus(hwnd);
            showCaret();
            return true;
        default:
            return Win32Control::handle(hwnd, message, wParam, lParam, result);
    }
}

}  // namespace surftally
