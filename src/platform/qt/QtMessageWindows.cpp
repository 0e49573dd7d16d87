#include "platform/qt/QtMessageWindows.h"

#include <QCoreApplication>
#include <QEvent>

#include "platform/qt/QtPointerKeys.h"

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
        // The handlers of one message read the pointer and the keys from the server once. A
        // pointer move is one a shell sent on its own (no Linux notification area reports the
        // pointer's moves): no pointer caused it, and it gets what was read last.
        TrayMessage& message = static_cast<TrayMessageEvent*>(event)->message;
        const QtPointerSnapshot pointer(message.LParam == TrayEvent::MouseMove
                                            ? QtPointerSnapshot::Source::LastRead
                                            : QtPointerSnapshot::Source::WindowSystem);
        ++delivering_;
        try {
            procedure(message);
        } catch (...) {
            onError_(std::current_exception());
        }
        --delivering_;
    }
    return true;
}

QtMessageWindows::~QtMessageWindows() {
    for (auto& [handle, window] : windows_) {
        window->close();
    }
}

std::uintptr_t QtMessageWindows::allocate(std::function<void(TrayMessage&)> procedure) {
    const std::uintptr_t handle = next_++;
    const auto failed = [this](std::exception_ptr error) {
        if (!onProcedureError_) {
            std::terminate();
        }
        onProcedureError_(error);
    };
    windows_[handle] = new QtMessageWindow(std::move(procedure), failed, parent_);
    return handle;
}

void QtMessageWindows::release(std::uintptr_t window) {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        QtMessageWindow* released = it->second;
        windows_.erase(it);
        released->close();
    }
}

void QtMessageWindows::post(std::uintptr_t window, const TrayMessage& message) const {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        it->second->post(message);
    }
}

}  // namespace surftally
