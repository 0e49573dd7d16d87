#include "platform/SystemClock.h"

#include <ctime>

namespace surftally {

std::chrono::nanoseconds SystemClock::monotonic() const {
    return std::chrono::steady_clock::now().time_since_epoch();
}

std::chrono::milliseconds SystemClock::timeOfDay() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()) % 1000;
    return hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec) +
           (ms < milliseconds::zero() ? ms + seconds(1) : ms);
}

}  // namespace surftally
