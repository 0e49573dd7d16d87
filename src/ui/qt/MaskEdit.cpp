#include "ui/qt/MaskEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "forms/TApplication.h"
#include "forms/TMaskEdit.h"
#include "ui/qt/TextArrivals.h"

namespace surftally {

class QtMaskEdit::Field : public QLineEdit {
public:
    Field(TMaskEdit& edit, QWidget* parent) : QLineEdit(parent), edit_(edit) {
        new QtTextArrivals(*this, [this](const QString& text, int at) {
            edit_.Application().Guarded([&] {
                if (at >= 0) {
                    edit_.userCaret(at);
                }
                edit_.userInsert(text.toStdString());
            });
        });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // Enter and Escape never get here: the window takes them.
        static const std::pair<int, TKey> keys[] = {
            {Qt::Key_Backspace, TKey::Backspace}, {Qt::Key_Delete, TKey::Delete},
            {Qt::Key_Left, TKey::Left},           {Qt::Key_Right, TKey::Right},
            {Qt::Key_Home, TKey::Home},           {Qt::Key_End, TKey::End},
        };
        for (const auto& [qtKey, key] : keys) {
            if (event->key() == qtKey) {
                edit_.Application().Guarded([&] { edit_.userKey(key); });
                event->accept();
                return;
            }
        }
        const QString text = event->text();
        if (!text.isEmpty() && text.front().isPrint() &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            for (const QChar c : text) {
                edit_.Application().Guarded([&] { edit_.userChar(c.toLatin1()); });
            }
            event->accept();
            return;
        }
        event->ignore();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        deselect();
        edit_.userCaret(cursorPosition());
    }

    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        deselect();
        FocusEntry how = FocusEntry::Other;
        switch (event->reason()) {
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
                how = FocusEntry::Keyboard;
                break;
            case Qt::MouseFocusReason:
                how = FocusEntry::Pointer;
                break;
            default:
                break;
        }
        edit_.Application().Guarded([&] { edit_.userFocusIn(how); });
        setCursorPosition(edit_.CaretPos());
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        const bool windowSwitch = event->reason() == Qt::ActiveWindowFocusReason ||
                                  event->reason() == Qt::PopupFocusReason;
        edit_.Application().Guarded([&] {
            edit_.userFocusOut(windowSwitch ? FocusChange::WindowSwitch
                                            : FocusChange::WithinWindow);
        });
    }

private:
    TMaskEdit& edit_;
};

QtMaskEdit::QtMaskEdit(TControl& control)
    : QtControl(control, new Field(static_cast<TMaskEdit&>(control), parentWidget(control))) {}

TMaskEdit& QtMaskEdit::edit() const {
    return static_cast<TMaskEdit&>(control_);
}

void QtMaskEdit::apply(Property property) {
    auto* field = static_cast<QLineEdit*>(widget());
    if (property == Property::Caption) {
        const QSignalBlocker blocker(field);
        field->setText(QString::fromStdString(edit().Text()));
        field->setCursorPosition(edit().CaretPos());
    } else if (property == Property::CaretPos) {
        field->setCursorPosition(edit().CaretPos());
    }
}

// After the focus change under way, so that the refused leave does not undo it.
void QtMaskEdit::takeFocus() {
    QPointer<QWidget> field = widget();
    QTimer::singleShot(0, this, [this, field] {
        if (field != nullptr) {
            field->setFocus(Qt::OtherFocusReason);
            static_cast<QLineEdit*>(field.data())->setCursorPosition(edit().CaretPos());
        }
    });
}

}  // namespace surftally
