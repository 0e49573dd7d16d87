#include "ui/qt/Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

#include "platform/qt/X11StripWindow.h"

namespace surftally {

namespace {

Qt::WindowFlags flagsOf(FormStyle style) {
    if (style == FormStyle::Strip) {
        return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    }
    return Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
           Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

}  // namespace

QtWindow::QtWindow(TForm& form)
    : QtControl(form, new QWidget(nullptr, flagsOf(form.Style()))), form_(form) {
    widget()->installEventFilter(this);
    // Enter and Escape are taken before any control of the window sees them.
    qApp->installEventFilter(this);
    if (form.Style() == FormStyle::Strip) {
        // Out of task lists and pagers, at its exact place and size under a window manager.
        strip_ = X11StripWindow::attach(*widget());
    }
}

void QtWindow::changed(Property property) {
    if (property == Property::Bounds) {
        const TRect& b = form_.Bounds();
        if (strip_ != nullptr) {
            // Told first: the server may report the new size, then the new place, while the
            // calls below still run.
            strip_->placedByProgram({widget()->pos(), QSize(b.Width, b.Height)});
            strip_->placedByProgram({b.Left, b.Top, b.Width, b.Height});
        }
        widget()->setFixedSize(b.Width, b.Height);
        widget()->move(b.Left, b.Top);
        return;
    }
    QtControl::changed(property);
}

void QtWindow::apply(Property property) {
    if (property == Property::Caption) {
        widget()->setWindowTitle(QString::fromStdString(form_.Caption()));
    }
}

void QtWindow::makeTopmost() {
    // The window carries Qt::WindowStaysOnTopHint; raising it puts it above the others.
    widget()->raise();
}

void QtWindow::activate() {
    widget()->raise();
    widget()->activateWindow();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == widget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if ((enter || key->key() == Qt::Key_Escape) && mods == Qt::NoModifier) {
            QWidget* focused = QApplication::focusWidget();
            TControl* control =
                focused != nullptr && focused->window() == widget() ? controlOf(focused) : nullptr;
            if (control == &form_) {
                control = nullptr;
            }
            form_.Application().Guarded(
                [&] { form_.userKey(enter ? TKey::Enter : TKey::Escape, control); });
            return true;
        }
    }
    if (watched == widget()) {
        if (event->type() == QEvent::Close) {
            // Only the window manager closes a window here; the form hides it.
            event->ignore();
            form_.Application().Guarded([this] { form_.userClose(); });
            return true;
        }
    }
    return QtControl::eventFilter(watched, event);
}

}  // namespace surftally
