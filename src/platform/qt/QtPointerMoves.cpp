#include "platform/qt/QtPointerMoves.h"

#include <utility>

namespace surftally {

QtPointerMoves::QtPointerMoves(int intervalMs, std::function<void()> send, QObject* parent)
    : QObject(parent), intervalMs_(intervalMs), send_(std::move(send)) {
    timer_.setInterval(intervalMs_);
    connect(&timer_, &QTimer::timeout, this, &QtPointerMoves::sendNow);
}

void QtPointerMoves::setActive(bool active) {
    if (active == timer_.isActive()) {
        return;
    }
    if (active) {
        sinceMove_.start();
        timer_.start();
    } else {
        timer_.stop();
    }
}

void QtPointerMoves::updated() {
    if (!timer_.isActive()) {
        return;
    }
    const bool due = sinceMove_.elapsed() >= intervalMs_ - intervalMs_ / 4;
    // The timer waits a quarter interval past the next update, a second from now, so that the
    // update comes first and takes the move along even when it is late or the timer early (a
    // coarse timer may fire 5% early).
    timer_.start(intervalMs_ + intervalMs_ / 4);
    if (due) {
        sinceMove_.start();
        send_();
    }
}

void QtPointerMoves::sendNow() {
    // Without updates the moves come once an interval.
    sinceMove_.start();
    timer_.start(intervalMs_);
    send_();
}

}  // namespace surftally
