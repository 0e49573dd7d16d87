#pragma once

#include <QTimer>

#include "forms/Toolkit.h"

namespace surftally {

class TTimer;

// A precise QTimer, so that ticks a second apart stay a second apart.
class QtTimer : public TimerPeer {
public:
    explicit QtTimer(TTimer& timer);

    void start(int intervalMs) override;
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

}  // namespace surftally
