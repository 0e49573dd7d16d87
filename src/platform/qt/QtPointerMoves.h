#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace surftally {

// The pointer-move messages, once an interval, of a notification area that reports no pointer
// movement, so that the icon's tip follows what the program shows.
//
// They ride on the icon's updates: the program updates its icon every second, and a move that
// falls due within the last quarter of its interval is sent with that update, in the same
// wake-up of the process; an earlier update puts the timer a whole interval after it. The timer
// sends one on its own only when no update came for a whole interval. While inactive (no icon,
// or no area to show it) nothing wakes the process.
class QtPointerMoves : public QObject {
    Q_OBJECT
public:
    QtPointerMoves(int intervalMs, std::function<void()> send, QObject* parent = nullptr);

    // Moves are sent while active; becoming active starts a fresh interval.
    void setActive(bool active);
    bool active() const { return timer_.isActive(); }

    // An icon was updated: a move that is due soon goes now.
    void updated();

private:
    void sendNow();

    int intervalMs_;
    std::function<void()> send_;
    QTimer timer_;
    QElapsedTimer sinceMove_;
};

}  // namespace surftally
