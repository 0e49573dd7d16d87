#include "platform/qt/SniActivations.h"

namespace surftally {

void SniActivations::expire(Clock::time_point now, std::vector<Gesture>& gestures) {
    if (state_ == State::Idle || now - last_ <= interval_) {
        return;
    }
    if (state_ == State::Held) {
        gestures.push_back(Gesture::Click);
    }
    state_ = State::Idle;
}

std::vector<SniActivations::Gesture> SniActivations::arrived(Clock::time_point at,
                                                             std::chrono::milliseconds interval) {
    std::vector<Gesture> gestures;
    expire(at, gestures);
    switch (state_) {
        case State::Idle:
            state_ = State::Held;
            last_ = at;
            interval_ = interval;
            break;
        case State::Held:
            gestures.push_back(Gesture::DoubleClick);
            state_ = State::AfterDouble;
            last_ = at;
            interval_ = interval;
            break;
        case State::AfterDouble:
            state_ = State::Idle;  // the third of one double click
            break;
    }
    return gestures;
}

std::vector<SniActivations::Gesture> SniActivations::due(Clock::time_point now) {
    std::vector<Gesture> gestures;
    expire(now, gestures);
    return gestures;
}

std::optional<SniActivations::Clock::time_point> SniActivations::deadline() const {
    if (state_ != State::Held) {
        return std::nullopt;
    }
    return last_ + interval_ + std::chrono::milliseconds(1);
}

}  // namespace surftally
