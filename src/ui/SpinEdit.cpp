#include "SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

#include "Conversions.h"
#include "StoreErrors.h"

namespace surftally {

SpinEdit::SpinEdit(int minValue, int maxValue, int maxLength, QWidget* parent)
    : QAbstractSpinBox(parent), minValue_(minValue), maxValue_(maxValue) {
    lineEdit()->setMaxLength(maxLength);
    lineEdit()->setText(QString::number(minValue));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::changed);
}

int SpinEdit::Value() const {
    try {
        return StrToInt(text().toStdString());
    } catch (const ConvertError&) {
        return minValue_;
    }
}

int SpinEdit::clamped(int value) const {
    if (maxValue_ == minValue_) {
        return value;
    }
    return std::clamp(value, minValue_, std::max(minValue_, maxValue_));
}

void SpinEdit::setValue(int value) {
    lineEdit()->setText(QString::number(clamped(value)));
}

QValidator::State SpinEdit::validate(QString& input, int& /*pos*/) const {
    // Digits, the two signs and the decimal separator may be typed; the value is read later.
    const QChar separator =
        locale().decimalPoint().isEmpty() ? QChar('.') : locale().decimalPoint().front();
    for (const QChar c : input) {
        if (!c.isDigit() && c != '+' && c != '-' && c != separator) {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

void SpinEdit::stepBy(int steps) {
    setValue(Value() + steps);
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    const int value = Value();
    if (clamped(value) != value) {
        setValue(value);
    }
}

}  // namespace surftally
