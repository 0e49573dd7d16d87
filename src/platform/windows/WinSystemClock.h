#pragma once

#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace surftally {

// Windows' clock. The monotonic time is the unbiased interrupt time, which stops while the
// machine sleeps or hibernates, as Linux's monotonic clock does: a laptop closed on-line for
// a night is not charged the night at the first tick after resume. The steady clock of the
// C++ library (QueryPerformanceCounter) keeps counting through sleep and is not used.
class WinSystemClock final : public Clock {
public:
    struct LocalTime {
        int hour = 0;
        int minute = 0;
        int second = 0;
        int milliseconds = 0;
        int year = 2000;
        int month = 1;
        int day = 1;
    };

    // What the clock is read from: the system by default, a test's own machine otherwise.
    struct Sources {
        // Time since boot in 100 ns units, not counting sleep or hibernation.
        std::function<std::uint64_t()> interruptTime;
        std::function<LocalTime()> localTime;
    };

    // QueryUnbiasedInterruptTimePrecise where the system has it (Windows 10 and later),
    // QueryUnbiasedInterruptTime otherwise; GetLocalTime.
    WinSystemClock();
    explicit WinSystemClock(Sources sources);

    std::chrono::nanoseconds monotonic() const override;
    std::chrono::milliseconds timeOfDay() const override;
    std::chrono::local_seconds localDateTime() const override;

    // Whether the precise form was found.
    bool precise() const { return precise_; }

private:
    Sources sources_;
    bool precise_ = false;
};

}  // namespace surftally
