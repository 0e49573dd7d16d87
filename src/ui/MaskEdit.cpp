#include "MaskEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "ErrorReporter.h"
#include "Texts.h"

namespace surftally {

MaskEdit::MaskEdit(const QString& mask, const QString& initial, QWidget* parent)
    : QLineEdit(parent) {
    setInputMask(mask + QStringLiteral(";_"));
    setText(initial);
    entryText_ = text();
    connect(this, &QLineEdit::textChanged, this, &MaskEdit::changed);
    connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

int MaskEdit::firstUnfilled() const {
    const int at = displayText().indexOf(QLatin1Char('_'));
    return at < 0 ? 0 : at;
}

void MaskEdit::refuse() {
    QApplication::beep();
    refocusing_ = true;
    // After the focus change that is under way has finished.
    QTimer::singleShot(0, this, [this] {
        setFocus(Qt::OtherFocusReason);
        setCursorPosition(firstUnfilled());
        refocusing_ = false;
    });
    ErrorReporter::instance().report(QString::fromUtf8(Texts::InvalidInput));
}

void MaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!refocusing_) {
        entryText_ = text();
        edited_ = false;
    }
}

void MaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move to another control of the same window is checked, not a switch of windows.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
        refocusing_) {
        return;
    }
    if (edited_ && !filled()) {
        refuse();
    }
}

void MaskEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (edited_) {
            setText(entryText_);
            edited_ = false;
            selectAll();
        }
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace surftally
