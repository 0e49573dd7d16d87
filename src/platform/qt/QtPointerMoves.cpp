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
    if (sinceMove_.elapsed() >= intervalMs_ - intervalMs_ / 4) {
        sendNow();
    } else {
        // Not due yet: the timer waits a whole interval from this update, so that the next
        // update, a second from now, comes first and takes the move along.
        timer_.start();
    }
}

void QtPointerMoves::sendNow() {
    // The next one is due a whole interval from this one, whoever sent it.
    sinceMove_.start();
    timer_.start();
    send_();
}

}  // namespace surftally
