#include "forms/TSpinEdit.h"

#include <algorithm>

#include "forms/TApplication.h"
#include "store/Conversions.h"
#include "store/StoreErrors.h"

namespace surftally {

TSpinEdit::TSpinEdit(TApplication& application, TControl* parent, std::string name, int minValue,
                     int maxValue, int maxLength)
    : TControl(application, parent, ControlKind::SpinEdit, std::move(name)),
      minValue_(minValue),
      maxValue_(maxValue),
      maxLength_(maxLength) {
    setCaption(IntToStr(minValue));
}

void TSpinEdit::notifyAll() {
    TControl::notifyAll();
    notify(Property::Range);
}

void TSpinEdit::setText(const std::string& text) {
    if (text == Caption()) {
        return;
    }
    setCaption(text);
    fire(OnChange);
}

bool TSpinEdit::Accepts(const std::string& text) const {
    const auto typeable = [](char c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    };
    return text.size() <= static_cast<std::size_t>(maxLength_) &&
           std::all_of(text.begin(), text.end(), typeable);
}

int TSpinEdit::Value() const {
    try {
        return StrToInt(Text());
    } catch (const ConvertError&) {
        return minValue_;
    }
}

int TSpinEdit::clamped(int value) const {
    if (maxValue_ == minValue_) {
        return value;
    }
    return std::clamp(value, minValue_, std::max(minValue_, maxValue_));
}

void TSpinEdit::setValue(int value) {
    setText(IntToStr(clamped(value)));
}

void TSpinEdit::setMaxValue(int value) {
    if (value != maxValue_) {
        maxValue_ = value;
        notify(Property::Range);
    }
}

bool TSpinEdit::userEdit(const std::string& proposed) {
    if (!Accepts(proposed)) {
        notify(Property::Caption);  // the toolkit shows the text as it was
        return false;
    }
    setText(proposed);
    return true;
}

void TSpinEdit::userCaret(int position, int selectionLength) {
    caret_ = position;
    selection_ = selectionLength;
}

void TSpinEdit::userInsert(const std::string& inserted) {
    const std::string piece = PastedPiece(inserted);
    if (piece.empty()) {
        return;
    }
    const std::string& text = Text();
    const std::size_t at =
        caret_ < 0 ? text.size() : std::min(static_cast<std::size_t>(caret_), text.size());
    const std::size_t cut =
        std::min(static_cast<std::size_t>(std::max(selection_, 0)), text.size() - at);
    const std::string proposed = text.substr(0, at) + piece + text.substr(at + cut);
    if (!Accepts(proposed)) {
        Application().toolkit().beep();
        notify(Property::Caption);  // the toolkit shows the text as it was
        return;
    }
    caret_ = static_cast<int>(at + piece.size());
    selection_ = 0;
    setText(proposed);
}

void TSpinEdit::userStep(int steps) {
    setValue(Value() + steps);
}

void TSpinEdit::userFocusOut() {
    const int value = Value();
    if (clamped(value) != value) {
        setValue(value);
    }
}

}  // namespace surftally
