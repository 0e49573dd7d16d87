#include "forms/TMaskEdit.h"

#include <algorithm>

#include "forms/TApplication.h"
#include "forms/Texts.h"

namespace surftally {

TMaskEdit::TMaskEdit(TApplication& application, TControl* parent, std::string name,
                     const std::string& editMask, const std::string& initial)
    : TControl(application, parent, ControlKind::MaskEdit, std::move(name)), editMask_(editMask) {
    std::string mask = editMask.substr(0, editMask.find(';'));
    if (!mask.empty() && mask.front() == '!') {
        mask.erase(0, 1);
    }
    positions_ = mask;
    if (const auto last = editMask.rfind(';');
        last != std::string::npos && last + 1 < editMask.size()) {
        blank_ = editMask[last + 1];
    }
    setCaption(fitted(initial));
}

void TMaskEdit::notifyAll() {
    TControl::notifyAll();
    notify(Property::CaretPos);
}

bool TMaskEdit::editable(std::size_t at) const {
    return at < positions_.size() && positions_[at] == '0';
}

std::string TMaskEdit::fitted(const std::string& text) const {
    std::string out(positions_.size(), blank_);
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        if (!editable(i)) {
            out[i] = positions_[i];
        } else if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            out[i] = text[i];
        }
    }
    return out;
}

// A program step puts the caret after the text, as a toolkit's edit does when its text is set;
// keys typed after a handler has corrected the text then add nothing to it. Set outside the
// user's typing (the dialog being filled as it opens), the text is where the next change
// starts: Escape never brings back one from before it.
void TMaskEdit::setText(const std::string& text) {
    if (!userEditing_) {
        edited_ = false;
        entryText_ = fitted(text);
    }
    change(text, static_cast<int>(positions_.size()));
}

void TMaskEdit::change(const std::string& text, int caret) {
    const std::string value = fitted(text);
    if (value == Caption()) {
        setCaret(caret);
        return;
    }
    setCaret(caret);
    setCaption(value);
    fire(OnChange);
}

bool TMaskEdit::Filled() const {
    const std::string& text = Text();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (editable(i) && text[i] == blank_) {
            return false;
        }
    }
    return true;
}

int TMaskEdit::FirstUnfilled() const {
    const std::string& text = Text();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (editable(i) && text[i] == blank_) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void TMaskEdit::setCaret(int caret) {
    caret = std::clamp(caret, 0, static_cast<int>(positions_.size()));
    if (caret != caret_) {
        caret_ = caret;
        notify(Property::CaretPos);
    }
}

void TMaskEdit::enter() {
    if (!entered_) {
        entered_ = true;
        edited_ = false;
        entryText_ = Text();
    }
}

void TMaskEdit::edit(std::string text, int caret) {
    // A field left by Enter keeps the focus: typing into it again starts a new entry.
    enter();
    edited_ = true;
    userEditing_ = true;
    change(text, caret);
    userEditing_ = false;
}

void TMaskEdit::EndEntry() {
    entered_ = false;
    edited_ = false;
}

void TMaskEdit::Refuse() {
    Application().toolkit().beep();
    setCaret(FirstUnfilled());
    if (Peer() != nullptr) {
        Peer()->takeFocus();
    }
    Application().Reporter().report(Texts::InvalidInput);
}

// A digit overwrites the next digit position; a separator typed where it stands, or just
// after the caret skipped it, only moves the caret, as in a native masked edit.
bool TMaskEdit::typed(std::string& text, int& caret, char c) const {
    std::size_t at = static_cast<std::size_t>(caret);
    if (c < '0' || c > '9') {
        if (at < positions_.size() && !editable(at) && positions_[at] == c) {
            caret = static_cast<int>(at + 1);
            return true;
        }
        return at > 0 && at <= positions_.size() && !editable(at - 1) && positions_[at - 1] == c;
    }
    while (at < positions_.size() && !editable(at)) {
        ++at;
    }
    if (at >= positions_.size()) {
        return false;
    }
    text[at] = c;
    std::size_t next = at + 1;
    while (next < positions_.size() && !editable(next)) {
        ++next;
    }
    caret = static_cast<int>(next);
    return true;
}

void TMaskEdit::userChar(char c) {
    std::string text = Text();
    int caret = caret_;
    if (!typed(text, caret, c)) {
        Application().toolkit().beep();
    } else if (text == Text()) {
        setCaret(caret);
    } else {
        edit(text, caret);
    }
}

void TMaskEdit::userInsert(const std::string& inserted) {
    const std::string piece = PastedPiece(inserted);
    if (piece.empty()) {
        return;
    }
    std::string text = Text();
    int caret = caret_;
    for (char c : piece) {
        if (!typed(text, caret, c)) {
            Application().toolkit().beep();
            return;
        }
    }
    if (text == Text()) {
        setCaret(caret);
    } else {
        edit(text, caret);
    }
}

bool TMaskEdit::userKey(TKey key) {
    const int length = static_cast<int>(positions_.size());
    switch (key) {
        case TKey::Escape:
            if (!edited_) {
                return false;
            }
            edited_ = false;
            setCaret(0);
            setText(entryText_);
            break;
        case TKey::Backspace: {
            int at = caret_ - 1;
            while (at >= 0 && !editable(static_cast<std::size_t>(at))) {
                --at;
            }
            if (at >= 0) {
                std::string text = Text();
                text[static_cast<std::size_t>(at)] = blank_;
                edit(text, at);
            }
            break;
        }
        case TKey::Delete: {
            std::size_t at = static_cast<std::size_t>(caret_);
            while (at < positions_.size() && !editable(at)) {
                ++at;
            }
            if (at < positions_.size()) {
                std::string text = Text();
                text[at] = blank_;
                edit(text, caret_);
            }
            break;
        }
        case TKey::Left:
            setCaret(caret_ - 1);
            break;
        case TKey::Right:
            setCaret(caret_ + 1);
            break;
        case TKey::Home:
            setCaret(0);
            break;
        case TKey::End:
            setCaret(length);
            break;
        case TKey::Up:
        case TKey::Down:
        case TKey::Enter:
            return false;
    }
    return true;
}

void TMaskEdit::userCaret(int position) {
    setCaret(position);
}

void TMaskEdit::userFocusIn(FocusEntry how) {
    enter();
    if (how == FocusEntry::Keyboard) {
        setCaret(0);
    }
}

bool TMaskEdit::userFocusOut(FocusChange how) {
    if (how == FocusChange::WindowSwitch) {
        return true;
    }
    if (edited_ && !Filled()) {
        Refuse();
        return false;
    }
    entered_ = false;
    edited_ = false;
    return true;
}

}  // namespace surftally
