#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/qt/SniTypes.h"

struct DBusConnection;
struct DBusMessage;

namespace surftally {

// One icon on the session bus, as the org.kde.StatusNotifierItem interface: its picture and
// tip as properties, the host's clicks as methods, and a signal for each change.
//
// It has a bus connection of its own, which a thread of its own reads: the host's reads are
// answered there, and a click is noted there the moment it arrives, however late the event
// loop gets to it. A change is announced from the program's thread, written straight to the
// socket: the item's thread wakes only for what the host sends. No Qt D-Bus object is
// involved, so a change costs no hand-over between threads.
class StatusNotifierItem {
public:
    enum class Request { Activate, SecondaryActivate, ContextMenu };
    using Clock = std::chrono::steady_clock;
    // Called in the item's thread, with the moment the call was read.
    using RequestHandler = std::function<void(Request, Clock::time_point)>;

    // Connects to the bus at `address` (the session bus when empty), takes the name `service`
    // there and serves the item at kPath. connected() tells whether all of it worked.
    StatusNotifierItem(const QString& address, QString service, QString id, QString title,
                       RequestHandler onRequest);
    // The thread ends and the connection closes: the name goes with it.
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    bool connected() const { return connection_ != nullptr; }
    const QString& service() const { return service_; }

    // Each returns whether the value changed, which the host is then to be told of with the
    // signal of that name (NewIcon, NewToolTip).
    bool setPixmaps(const SniPixmapList& pixmaps);
    bool setTip(const QString& tip);
    void announce(const char* signal);

    // Answers one message sent to the item's path, in the item's thread; false for what the
    // item does not know.
    bool answer(DBusMessage* message);

    static constexpr const char* kPath = "/StatusNotifierItem";
    static constexpr const char* kInterface = "org.kde.StatusNotifierItem";

private:
    void serve();
    void wake();
    DBusMessage* properties(DBusMessage* message);

    QString service_;
    QString id_;
    QString title_;
    RequestHandler onRequest_;
    DBusConnection* connection_ = nullptr;
    int wakeFd_ = -1;  // tells the thread to stop or to write what is queued
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    mutable std::mutex mutex_;  // guards what the host reads
    SniPixmapList pixmaps_;
    QString tip_;
};

}  // namespace surftally
