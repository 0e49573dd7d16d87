#pragma once

#include "platform/Clock.h"

namespace surftally {

// The machine's steady clock and local time.
class SystemClock final : public Clock {
public:
    std::chrono::nanoseconds monotonic() const override;
    std::chrono::milliseconds timeOfDay() const override;
    std::chrono::local_seconds localDateTime() const override;
};

}  // namespace surftally
