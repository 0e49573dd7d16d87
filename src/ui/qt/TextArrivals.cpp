#include "ui/qt/TextArrivals.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <memory>

namespace surftally {

QtTextArrivals::QtTextArrivals(QLineEdit& line, Insert insert)
    : QObject(&line), line_(line), insert_(std::move(insert)) {
    line.setAcceptDrops(true);
    line.setContextMenuPolicy(Qt::DefaultContextMenu);
    watch(line);
}

void QtTextArrivals::watch(QWidget& widget) {
    widget.installEventFilter(this);
}

// A spin box hands its keys and input method events to its line edit directly, past any
// filter: those are taken wherever they arrive.
bool QtTextArrivals::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ContextMenu:
            showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
                insert_(QGuiApplication::clipboard()->text(QClipboard::Clipboard), -1);
                return true;
            }
            return QObject::eventFilter(watched, event);
        case QEvent::InputMethod: {
            // What is being composed is not shown; the committed text goes to the control.
            auto* input = static_cast<QInputMethodEvent*>(event);
            if (!input->commitString().isEmpty()) {
                insert_(input->commitString(), -1);
            }
            input->accept();
            return true;
        }
        default:
            break;
    }
    if (watched != &line_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::MiddleButton) {
                break;
            }
            if (QGuiApplication::clipboard()->supportsSelection()) {
                insert_(QGuiApplication::clipboard()->text(QClipboard::Selection),
                        line_.cursorPositionAt(mouse->position().toPoint()));
            }
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasText()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasText()) {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                insert_(drop->mimeData()->text(),
                        line_.cursorPositionAt(drop->position().toPoint()));
            }
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void QtTextArrivals::showMenu(const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(line_.createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo") ||
            name == QLatin1String("edit-cut") || name == QLatin1String("edit-delete")) {
            menu->removeAction(action);
        } else if (name == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] {
                insert_(QGuiApplication::clipboard()->text(QClipboard::Clipboard), -1);
            });
        }
    }
    menu->exec(globalPos);
}

}  // namespace surftally
