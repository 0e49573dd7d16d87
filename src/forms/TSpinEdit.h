#pragma once

#include <string>

#include "forms/TControl.h"

namespace surftally {

// A number field with arrows. Digits, the two signs and the decimal separator may be typed;
// the value reads as the text converted to an integer, or as the minimum when the text is not
// a number; assigning a value clamps it into the range (unless minimum and maximum are equal)
// and writes it as decimal text; leaving the field after typing a value outside the range
// rewrites it clamped. OnChange runs on every change of the text, typed or set.
class TSpinEdit : public TControl {
public:
    TSpinEdit(TApplication& application, TControl* parent, std::string name, int minValue,
              int maxValue, int maxLength);

    const std::string& Text() const { return Caption(); }
    void setText(const std::string& text);

    int Value() const;
    void setValue(int value);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void setMaxValue(int value);
    int MaxLength() const { return maxLength_; }

    // Whether the user may type this text: typeable characters only, within the length.
    bool Accepts(const std::string& text) const;

    std::function<void()> OnChange;

    // The text the user's typing would give; refused (false) when it holds a character that
    // cannot be typed or is longer than the field.
    bool userEdit(const std::string& proposed);
    // The arrows, or the up and down keys.
    void userStep(int steps);
    void userFocusOut();
    // Where the caret stands and how many characters after it are selected; text that arrives
    // in one piece replaces the selection. Until told, the caret stands after the text.
    void userCaret(int position, int selectionLength = 0);
    // Text that arrives in one piece (a paste, a drop, an input method) at the caret, under the
    // rules of typing; blanks around it are dropped. Refused with a beep when the result could
    // not be typed; then nothing changes.
    void userInsert(const std::string& text);

private:
    int clamped(int value) const;
    void notifyAll() override;

    int minValue_;
    int maxValue_;
    int maxLength_;
    int caret_ = -1;  // -1: after the text
    int selection_ = 0;
};

}  // namespace surftally
