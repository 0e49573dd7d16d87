#include "QtTimerPeer.h"

#include "TTimer.h"

namespace surftally {

QtTimerPeer::QtTimerPeer(TTimer& timer) {
    timer_.setObjectName(QString::fromStdString(timer.Name()));
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [&timer] { timer.userTimer(); });
}

void QtTimerPeer::start(int intervalMs) {
    timer_.start(intervalMs);
}

}  // namespace surftally
