#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace surftally {

// A clock for tests: both times move only when told; the time of day can jump on its own,
// as when the user or daylight saving sets the system clock.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::chrono::milliseconds timeOfDay = std::chrono::hours(12))
        : timeOfDay_(timeOfDay) {}

    std::chrono::nanoseconds monotonic() const override { return monotonic_; }
    std::chrono::milliseconds timeOfDay() const override { return timeOfDay_; }
    std::chrono::local_seconds localDateTime() const override {
        return today_ + std::chrono::floor<std::chrono::seconds>(timeOfDay_);
    }

    // Real time passes: both clocks move, the time of day wrapping at midnight.
    void advance(std::chrono::nanoseconds d) {
        monotonic_ += d;
        carry_ += d;
        const auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(carry_);
        carry_ -= whole;
        const auto days = std::chrono::floor<std::chrono::days>(timeOfDay_ + whole);
        today_ += days;
        timeOfDay_ = timeOfDay_ + whole - days;
    }

    // The date the clock shows; by default 9 December 2026.
    void setToday(std::chrono::local_days day) { today_ = day; }

    // The system clock is set; no real time passes.
    void setTimeOfDay(std::chrono::milliseconds t) { timeOfDay_ = t % std::chrono::hours(24); }

private:
    std::chrono::nanoseconds monotonic_{std::chrono::hours(1)};
    std::chrono::nanoseconds carry_{0};
    std::chrono::milliseconds timeOfDay_;
    std::chrono::local_days today_{std::chrono::year{2026} / 12 / 9};
};

}  // namespace surftally
