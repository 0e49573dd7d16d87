#pragma once

#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>

#include "TrayShell.h"

namespace surftally {

class QtMessageWindow;

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
