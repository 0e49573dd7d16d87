#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace surftally {

// The state the balance tick, the display's handlers and the settings dialog share. It
// belongs to the display window and lives as long as the process; only the user interface
// thread touches it.
struct SharedState {
    std::int32_t HoursLeft = 0;
    std::int32_t MinutesLeft = 0;
    std::int32_t SecondsLeft = 0;
    std::int32_t SecondsUsed = 0;   // seconds counted since BaseTime, after discount
    std::int32_t BaseSeconds = 0;   // balance at BaseTime
    std::int32_t AlarmHours = 0;    // below it the display turns red
    std::int32_t DiscountPercent = 0;

    std::string HoursText;
    std::string MinutesText;
    std::string SecondsText;
    std::string ShownText;   // what the tick last put on the display
    std::string RemainText;  // the last balance text
    std::string EconomicBeginText;
    std::string EconomicEndText;
    std::string LeftText;
    std::string TopText;

    // Moments on the monotonic clock; elapsed time never comes from the time of day.
    std::chrono::nanoseconds BaseTime{0};
    std::chrono::nanoseconds NowTime{0};
    std::chrono::nanoseconds ElapsedTime{0};
    // The economic period as times of day.
    std::chrono::milliseconds EconomicBeginTime{0};
    std::chrono::milliseconds EconomicEndTime{0};

    bool HoverHold = false;     // the off-line display shows the stored balance
    bool OfflineSaved = true;   // the balance was saved for this off-line spell
    bool MinuteSaved = true;    // the save at this minute mark was done
    std::int32_t HoldTicks = 0;

    // The balance was read from the file (or set by the user): only then may it be saved.
    bool BalanceKnown = false;

    // On-line time charged since BaseTime, after the discount, with the part of a second that
    // the last base move did not account for carried over; SecondsUsed is its whole seconds.
    std::chrono::nanoseconds ChargedTime{0};
    // The monotonic moment up to which on-line time has been charged.
    std::chrono::nanoseconds ChargedUntil{0};
};

}  // namespace surftally
