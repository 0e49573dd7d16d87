#pragma once

#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>

#include "platform/TrayShell.h"

namespace surftally {

// The Qt stand-in for a hidden message window: messages posted to it reach its procedure
// later, on the GUI thread, through the event loop. Once closed, nothing reaches it.
class QtMessageWindow : public QObject {
    Q_OBJECT
public:
    // An exception that leaves the procedure goes to `onError`: it must not unwind through
    // the event loop.
    QtMessageWindow(std::function<void(TrayMessage&)> procedure,
                    std::function<void(std::exception_ptr)> onError, QObject* parent);

    // Queues the message; it is handed over when the loop comes back to this object.
    void post(const TrayMessage& message);
    // Drops the procedure and the messages still queued, and deletes the object as soon as
    // it is not inside its own delivery.
    void close();

protected:
    bool event(QEvent* event) override;

private:
    std::function<void(TrayMessage&)> procedure_;
    std::function<void(std::exception_ptr)> onError_;
    int delivering_ = 0;
    bool closed_ = false;
};

// The message windows a Qt notification shell hands out, by handle. Closed with the set.
class QtMessageWindows {
public:
    explicit QtMessageWindows(QObject* parent) : parent_(parent) {}
    ~QtMessageWindows();
    QtMessageWindows(const QtMessageWindows&) = delete;
    QtMessageWindows& operator=(const QtMessageWindows&) = delete;

    std::uintptr_t allocate(std::function<void(TrayMessage&)> procedure);
    // After this no message reaches the window's procedure.
    void release(std::uintptr_t window);
    bool contains(std::uintptr_t window) const { return windows_.count(window) != 0; }
    // Queues a message for the window; nothing when there is no such window.
    void post(std::uintptr_t window, const TrayMessage& message) const;

    // An exception that leaves a procedure goes here; without a handler the program ends
    // (std::terminate), as it must not unwind through the event loop.
    void setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
        onProcedureError_ = std::move(handler);
    }

private:
    QObject* parent_;
    std::map<std::uintptr_t, QtMessageWindow*> windows_;
    std::uintptr_t next_ = 1;
    std::function<void(std::exception_ptr)> onProcedureError_;
};

}  // namespace surftally
