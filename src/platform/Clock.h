#pragma once

#include <chrono>

namespace surftally {

// The two times the program needs. Elapsed on-line time is always measured on the
// monotonic clock; the time of day only drives the clock view and the economic period.
class Clock {
public:
    virtual ~Clock() = default;

    // Time since an arbitrary start; never jumps when the system clock is set.
    virtual std::chrono::nanoseconds monotonic() const = 0;

    // Local time of day, milliseconds since midnight (0 to 86'399'999).
    virtual std::chrono::milliseconds timeOfDay() const = 0;

    // Local date and time to the second, for the history of on-line spells.
    virtual std::chrono::local_seconds localDateTime() const = 0;
};

}  // namespace surftally
