#pragma once

#include <QAbstractSpinBox>

class QLineEdit;

namespace surftally {

// A number field with arrows whose text may hold any typed number: the value reads as the
// text converted to an integer, or as the minimum when the text is not a number; assigning a
// value clamps it into the range (unless minimum and maximum are equal) and writes it as
// decimal text; leaving the field after typing a value outside the range rewrites it
// clamped. changed() follows every change of the text, typed or set.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    SpinEdit(int minValue, int maxValue, int maxLength, QWidget* parent = nullptr);

    int Value() const;
    void setValue(int value);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void setMaxValue(int value) { maxValue_ = value; }

    QLineEdit* editor() const { return lineEdit(); }

signals:
    void changed();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int clamped(int value) const;

    int minValue_;
    int maxValue_;
};

}  // namespace surftally
