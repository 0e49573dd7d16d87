#include "ui/qt/Timer.h"

#include "forms/TTimer.h"

namespace surftally {

QtTimer::QtTimer(TTimer& timer) {
    timer_.setObjectName(QString::fromStdString(timer.Name()));
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [&timer] { timer.userTimer(); });
}

void QtTimer::start(int intervalMs) {
    timer_.start(intervalMs);
}

}  // namespace surftally
