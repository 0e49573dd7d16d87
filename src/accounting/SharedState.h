#pragma once

#include <algorithm>
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
    std::int32_t SecondsUsed = 0;    // seconds counted since BaseTime, after discount
    std::int32_t BaseSeconds = 0;    // balance at BaseTime
    std::uint32_t BalanceEdits = 0;  // times the user set the balance (RebaseBalance)
    std::int32_t AlarmHours = 0;     // below it the display turns red
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
    // BaseTime is the base moment; BaseTime + ElapsedTime is the moment up to which on-line
    // time has been charged (the last on-line run's NowTime, or the base moment itself).
    std::chrono::nanoseconds BaseTime{0};
    std::chrono::nanoseconds NowTime{0};
    std::chrono::nanoseconds ElapsedTime{0};
    // The economic period as times of day, taken from its texts by each on-line run.
    std::chrono::milliseconds EconomicBeginTime{0};
    std::chrono::milliseconds EconomicEndTime{0};

    bool HoverHold = false;    // the off-line display shows the stored balance
    bool OfflineSaved = true;  // the balance was saved for this off-line spell
    std::int32_t HoldTicks = 0;

    // The balance was read from the file (or set by the user): only then may it be saved.
    bool BalanceKnown = false;

    // On-line time charged since BaseTime, after the discount, with the part of a second that
    // the last base move did not account for carried over; SecondsUsed is its whole seconds.
    std::chrono::nanoseconds ChargedTime{0};

    // The balance now, BaseSeconds - SecondsUsed, held between 000:00:00 and 999:59:59.
    std::int32_t balanceSeconds() const {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            std::int64_t{BaseSeconds} - SecondsUsed, 0, kMaxBalanceSeconds));
    }

    // The save at the current minute mark has been done: no minute mark lies between the
    // balance and the base (the base moves at every mark, whatever its save gave). False once
    // the balance shows a new mark's "00" seconds or a late run steps over one.
    bool MinuteSaved() const {
        const std::int64_t newestMark = (std::int64_t{balanceSeconds()} + 59) / 60 * 60;
        return newestMark >= BaseSeconds;
    }

    static constexpr std::int64_t kMaxBalanceSeconds = 999 * 3600 + 59 * 60 + 59;
};

}  // namespace surftally
