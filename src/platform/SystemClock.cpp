#include "platform/SystemClock.h"

#include <algorithm>
#include <ctime>

namespace surftally {

namespace {

std::tm localNow(std::chrono::system_clock::time_point now) {
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return local;
}

}  // namespace

std::chrono::nanoseconds SystemClock::monotonic() const {
    return std::chrono::steady_clock::now().time_since_epoch();
}

std::chrono::milliseconds SystemClock::timeOfDay() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::tm local = localNow(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()) % 1000;
    return hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec) +
           (ms < milliseconds::zero() ? ms + seconds(1) : ms);
}

std::chrono::local_seconds SystemClock::localDateTime() const {
    using namespace std::chrono;
    const std::tm local = localNow(system_clock::now());
    const year_month_day date{year{local.tm_year + 1900},
                              month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    return local_days{date} + hours(local.tm_hour) + minutes(local.tm_min) +
           seconds(std::min(local.tm_sec, 59));
}

}  // namespace surftally
