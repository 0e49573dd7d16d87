#include "Win32Memo.h"

#include "TMemo.h"
#include "Win32Text.h"
#include "Win32Toolkit.h"

namespace surftally {

Win32Memo::Win32Memo(Win32Toolkit& toolkit, TControl& control) : Win32Control(toolkit, control) {
    create(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
           WS_EX_CLIENTEDGE);
}

void Win32Memo::apply(Property property) {
    if (property != Property::Lines) {
        Win32Control::apply(property);
        return;
    }
    std::string text;
    for (const std::string& line : static_cast<TMemo&>(control()).Lines()) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += line;
    }
    ::SetWindowTextW(native(), Wide(text).c_str());
}

bool Win32Memo::reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    // A read-only edit asks for the colours of a static; a memo is a document on white.
    if (message == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, control().Font().Color);
        ::SetBkColor(dc, backgroundColour());
        result = reinterpret_cast<LRESULT>(toolkit().brush(backgroundColour()));
        return true;
    }
    return false;
}

}  // namespace surftally
