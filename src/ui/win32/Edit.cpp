#include "ui/win32/Edit.h"

#include "ui/win32/Toolkit.h"

namespace surftally {

Win32Edit::Win32Edit(Win32Toolkit& toolkit, TControl& control, DWORD style, UINT colourMessage)
    : Win32Control(toolkit, control), colourMessage_(colourMessage) {
    create(L"EDIT", style, WS_EX_CLIENTEDGE);
}

bool Win32Edit::reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != colourMessage_) {
        return false;
    }
    const HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, control().Font().Color);
    ::SetBkColor(dc, backgroundColour());
    result = reinterpret_cast<LRESULT>(toolkit().brush(backgroundColour()));
    return true;
}

std::wstring Win32Edit::clipboardText() const {
    std::wstring text;
    if (::IsClipboardFormatAvailable(CF_UNICODETEXT) && ::OpenClipboard(native())) {
        if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = chars;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    return text;
}

bool Win32Edit::ownEditing(UINT message) {
    return message == WM_UNDO || message == EM_UNDO || message == WM_CONTEXTMENU;
}

bool Win32Edit::pasteKey(WPARAM key) {
    return key == VK_INSERT && ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_CONTROL) >= 0;
}

}  // namespace surftally
