#include "ui/qt/SpinEdit.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "forms/TApplication.h"
#include "forms/TSpinEdit.h"
#include "ui/qt/TextArrivals.h"

namespace surftally {

class QtSpinEdit::Box : public QAbstractSpinBox {
public:
    Box(TSpinEdit& spin, QWidget* parent) : QAbstractSpinBox(parent), spin_(spin) {
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
            spin_.Application().Guarded([&] { spin_.userEdit(text.toStdString()); });
        });
        auto* arrivals = new QtTextArrivals(*lineEdit(), [this](const QString& text, int at) {
            QLineEdit& line = *lineEdit();
            spin_.Application().Guarded([&] {
                if (at >= 0) {
                    spin_.userCaret(at);
                } else if (line.hasSelectedText()) {
                    spin_.userCaret(line.selectionStart(), line.selectionLength());
                } else {
                    spin_.userCaret(line.cursorPosition());
                }
                spin_.userInsert(text.toStdString());
            });
        });
        arrivals->watch(*this);
    }

    QLineEdit* editor() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& input, int&) const override {
        return spin_.Accepts(input.toStdString()) ? QValidator::Acceptable : QValidator::Invalid;
    }
    void fixup(QString&) const override {}
    void stepBy(int steps) override {
        spin_.Application().Guarded([&] { spin_.userStep(steps); });
    }
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void focusOutEvent(QFocusEvent* event) override {
        QAbstractSpinBox::focusOutEvent(event);
        spin_.Application().Guarded([&] { spin_.userFocusOut(); });
    }

private:
    TSpinEdit& spin_;
};

QtSpinEdit::QtSpinEdit(TControl& control)
    : QtControl(control, new Box(static_cast<TSpinEdit&>(control), parentWidget(control))) {}

TSpinEdit& QtSpinEdit::spin() const {
    return static_cast<TSpinEdit&>(control_);
}

void QtSpinEdit::apply(Property property) {
    auto* box = static_cast<Box*>(widget());
    if (property == Property::Caption) {
        const QString text = QString::fromStdString(spin().Text());
        if (box->editor()->text() != text) {
            const QSignalBlocker blocker(box->editor());
            box->editor()->setText(text);
        }
    } else if (property == Property::Range) {
        box->editor()->setMaxLength(spin().MaxLength());
    }
}

}  // namespace surftally
