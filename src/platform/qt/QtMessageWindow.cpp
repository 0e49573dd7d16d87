#include "QtMessageWindow.h"

#include <QCoreApplication>
#include <QEvent>

#include "QtPointerKeys.h"

namespace surftally {

namespace {

const QEvent::Type kTrayMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TrayMessageEvent : public QEvent {
public:
    explicit TrayMessageEvent(const TrayMessage& message)
        : QEvent(kTrayMessageEvent), message(message) {}
    TrayMessage message;
};

}  // namespace

QtMessageWindow::QtMessageWindow(std::function<void(TrayMessage&)> procedure,
                                 std::function<void(std::exception_ptr)> onError, QObject* parent)
    : QObject(parent), procedure_(std::move(procedure)), onError_(std::move(onError)) {}

void QtMessageWindow::post(const TrayMessage& message) {
    if (!closed_) {
        QCoreApplication::postEvent(this, new TrayMessageEvent(message));
    }
}

void QtMessageWindow::close() {
    closed_ = true;
    procedure_ = nullptr;
    QCoreApplication::removePostedEvents(this, kTrayMessageEvent);
    if (delivering_ > 0) {
        deleteLater();
    } else {
        delete this;
    }
}

bool QtMessageWindow::event(QEvent* event) {
    if (event->type() != kTrayMessageEvent) {
        return QObject::event(event);
    }
    if (!closed_ && procedure_) {
        // A copy: the procedure may close this window while it runs.
        const auto procedure = procedure_;
        // The handlers of one message read the pointer and the keys from the server once.
        const QtPointerSnapshot pointer;
        ++delivering_;
        try {
            procedure(static_cast<TrayMessageEvent*>(event)->message);
        } catch (...) {
            onError_(std::current_exception());
        }
        --delivering_;
    }
    return true;
}

}  // namespace surftally
