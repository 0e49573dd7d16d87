#pragma once

#include <string>

#include "TControl.h"

namespace surftally {

// A masked edit: every digit position must be filled, the separators stay in the text and
// an unfilled position shows as '_'. Typing overwrites the position at the caret and skips
// the separators. Leaving the field after changing it with a position unfilled is refused:
// a beep, the focus back at the first unfilled position and the "Invalid input value"
// message. Escape abandons the change. The change state lasts from entering the field until
// leaving it, whatever windows are activated in between. OnChange runs on every change of
// the text, typed or set.
class TMaskEdit : public TControl {
public:
    // editMask as "!000:00:00;1;_": '0' a required digit, any other character a separator
    // kept in the text, '_' the blank.
    TMaskEdit(TApplication& application, TControl* parent, std::string name,
              const std::string& editMask, const std::string& initial);

    const std::string& Text() const { return Caption(); }
    // Fitted to the mask: a separator stays a separator, a position without a digit is blank.
    // The caret goes after the text.
    void setText(const std::string& text);

    const std::string& EditMask() const { return editMask_; }
    bool Filled() const;
    int FirstUnfilled() const;
    int CaretPos() const { return caret_; }
    // Whether the user has changed the text since entering the field.
    bool Modified() const { return edited_; }

    // Beeps, puts the focus back at the first unfilled position and reports the refusal.
    void Refuse();

    std::function<void()> OnChange;

    // Input forwarded by the toolkit. userFocusOut returns false when the leave is refused.
    void userChar(char c);
    void userKey(TKey key);
    void userCaret(int position);
    void userFocusIn();
    bool userFocusOut(FocusChange how);

private:
    bool editable(std::size_t at) const;
    std::string fitted(const std::string& text) const;
    void edit(std::string text, int caret);
    void change(const std::string& text, int caret);
    void setCaret(int caret);
    void notifyAll() override;

    std::string editMask_;
    std::string positions_;  // the mask part: '0' or a separator, one per character
    char blank_ = '_';
    int caret_ = 0;
    bool entered_ = false;
    bool edited_ = false;
    std::string entryText_;
};

}  // namespace surftally
