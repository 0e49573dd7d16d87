#include "ui/win32/Memo.h"

#include "forms/TMemo.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

// A read-only edit asks for the colours of a static; a memo is a document on white.
Win32Memo::Win32Memo(Win32Toolkit& toolkit, TControl& control)
    : Win32Edit(toolkit, control,
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                WM_CTLCOLORSTATIC) {}

void Win32Memo::apply(Property property) {
    if (property != Property::Lines) {
        Win32Edit::apply(property);
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

}  // namespace surftally
