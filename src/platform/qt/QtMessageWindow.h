#pragma once

#include <QObject>

#include <exception>
#include <functional>

#include "TrayShell.h"

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

}  // namespace surftally
