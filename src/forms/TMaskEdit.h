#pragma once

#include <string>

#include "forms/TControl.h"

namespace surftally {

// A masked edit: every digit position must be filled, the separators stay in the text and
// an unfilled position shows as '_'. Typing overwrites the position at the caret and skips
// the separators. Leaving the field after changing it with a position unfilled is refused:
// a beep, the focus back at the first unfilled position and the "Invalid input value"
// message. Escape abandons the change. The change state lasts from entering the field until
// leaving it, whatever windows are activated in between; a text set by a program step is
// where the next change starts. OnChange runs on every change of the text, typed or set.
class TMaskEdit : public TControl {
public:
    // editMask as "!000:00:00;1;_": '0' a required digit, any other character a separator
    // kept in the text, '_' the blank.
    TMaskEdit(TApplication& application, TControl* parent, std::string name,
              const std::string& editMask, const std::string& initial);

    const std::string& Text() const { return Caption(); }
    // Fitted to the mask: a separator stays a separator, a position without a digit is blank.
    // The caret goes after the text. Outside the user's own typing (a handler correcting it),
    // the text becomes the one Escape goes back to, and no change is left to abandon.
    void setText(const std::string& text);

    const std::string& EditMask() const { return editMask_; }
    bool Filled() const;
    int FirstUnfilled() const;
    int CaretPos() const { return caret_; }
    // Whether the user has changed the text since entering the field.
    bool Modified() const { return edited_; }

    // Beeps, puts the focus back at the first unfilled position and reports the refusal.
    void Refuse();
    // The field's entry ends without a leave (its window was hidden): nothing is left to
    // abandon, and the next entry starts from the text it then has.
    void EndEntry();

    std::function<void()> OnChange;

    // Input forwarded by the toolkit. userKey returns whether the field took the key (Escape
    // only when there is a change to abandon; Enter never). userFocusOut returns false when
    // the leave is refused.
    void userChar(char c);
    bool userKey(TKey key);
    void userCaret(int position);
    // Entered from the keyboard, the caret goes to the first position.
    void userFocusIn(FocusEntry how = FocusEntry::Other);
    bool userFocusOut(FocusChange how);
    // Text that arrives in one piece (a paste, a drop, an input method), typed at the caret as
    // if key by key, in one change. Blanks around it are dropped; a text that cannot be typed
    // there whole is refused with a beep and changes nothing.
    void userInsert(const std::string& text);

private:
    bool editable(std::size_t at) const;
    // Types c into text at caret as a key would; false when the key is refused.
    bool typed(std::string& text, int& caret, char c) const;
    void enter();
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
    bool userEditing_ = false;  // a user's change and the handlers it runs are under way
    std::string entryText_;
};

}  // namespace surftally
