#include "forms/TTimer.h"

#include "forms/TApplication.h"

namespace surftally {

TTimer::TTimer(TApplication& application, std::string name, int interval)
    : application_(application),
      name_(std::move(name)),
      interval_(interval),
      peer_(application.toolkit().createTimer(*this)) {}

TTimer::~TTimer() {
    setEnabled(false);
}

void TTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled) {
        peer_->start(interval_);
    } else {
        peer_->stop();
    }
}

void TTimer::userTimer() {
    if (enabled_ && OnTimer) {
        application_.Guarded(OnTimer);
    }
}

}  // namespace surftally
