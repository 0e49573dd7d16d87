#include "platform/windows/WinSystemClock.h"

#include <utility>

#include <windows.h>

namespace surftally {

namespace {

using QueryInterruptTime = BOOL(WINAPI*)(PULONGLONG);

// The precise form is exported by KernelBase from Windows 10 on; looked up at run time so
// that the program still starts on older systems.
QueryInterruptTime preciseQuery() {
    for (const wchar_t* module : {L"kernelbase.dll", L"kernel32.dll"}) {
        if (const HMODULE handle = ::GetModuleHandleW(module); handle != nullptr) {
            if (const FARPROC proc =
                    ::GetProcAddress(handle, "QueryUnbiasedInterruptTimePrecise")) {
                return reinterpret_cast<QueryInterruptTime>(reinterpret_cast<void*>(proc));
            }
        }
    }
    return nullptr;
}

WinSystemClock::LocalTime systemLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
            now.wYear, now.wMonth,  now.wDay};
}

}  // namespace

WinSystemClock::WinSystemClock() {
    const QueryInterruptTime query = preciseQuery();
    precise_ = query != nullptr;
    sources_.interruptTime = [query] {
        ULONGLONG units = 0;
        if (query != nullptr) {
            query(&units);
        } else {
            ::QueryUnbiasedInterruptTime(&units);
        }
        return static_cast<std::uint64_t>(units);
    };
    sources_.localTime = systemLocalTime;
}

WinSystemClock::WinSystemClock(Sources sources) : sources_(std::move(sources)) {}

std::chrono::nanoseconds WinSystemClock::monotonic() const {
    return std::chrono::nanoseconds(static_cast<std::int64_t>(sources_.interruptTime()) * 100);
}

std::chrono::milliseconds WinSystemClock::timeOfDay() const {
    using namespace std::chrono;
    const LocalTime t = sources_.localTime();
    return hours(t.hour) + minutes(t.minute) + seconds(t.second) + milliseconds(t.milliseconds);
}

std::chrono::local_seconds WinSystemClock::localDateTime() const {
    using namespace std::chrono;
    const LocalTime t = sources_.localTime();
    const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)},
                              day{static_cast<unsigned>(t.day)}};
    return local_days{date} + hours(t.hour) + minutes(t.minute) + seconds(t.second);
}

}  // namespace surftally
