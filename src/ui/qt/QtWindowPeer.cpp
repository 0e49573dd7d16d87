#include "QtWindowPeer.h"

#include <QCloseEvent>
#include <QKeyEvent>

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

QtWindowPeer::QtWindowPeer(TForm& form)
    : QtControlPeer(form, new QWidget(nullptr, flagsOf(form.Style()))), form_(form) {
    widget()->installEventFilter(this);
}

void QtWindowPeer::changed(Property property) {
    if (property == Property::Bounds) {
        const TRect& b = form_.Bounds();
        widget()->setFixedSize(b.Width, b.Height);
        widget()->move(b.Left, b.Top);
        return;
    }
    QtControlPeer::changed(property);
}

void QtWindowPeer::apply(Property property) {
    if (property == Property::Caption) {
        widget()->setWindowTitle(QString::fromStdString(form_.Caption()));
    }
}

void QtWindowPeer::makeTopmost() {
    // The window carries Qt::WindowStaysOnTopHint; raising it puts it above the others.
    widget()->raise();
}

void QtWindowPeer::activate() {
    widget()->raise();
    widget()->activateWindow();
}

bool QtWindowPeer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget()) {
        if (event->type() == QEvent::Close) {
            // Only the window manager closes a window here; the form hides it.
            event->ignore();
            form_.Application().Guarded([this] { form_.userClose(); });
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            return true;
        }
    }
    return QtControlPeer::eventFilter(watched, event);
}

}  // namespace surftally
