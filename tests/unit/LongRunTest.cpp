#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"

using namespace surftally;
using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

namespace {

constexpr std::int64_t kStart = 999 * 3600;
constexpr milliseconds kDay = 24h;
// The economic period, 50 % off; both daylight-saving shifts fall inside it.
constexpr milliseconds kBegin = 1h;
constexpr milliseconds kEnd = 5h + 30min;

// A data folder in memory where the machine has one: a month of minute-mark saves, each
// flushed, would otherwise spend minutes on the disk's flushes.
class MemoryFolder {
public:
    MemoryFolder() {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path();
#ifndef _WIN32
        if (std::filesystem::is_directory("/dev/shm", ec)) {
            base = "/dev/shm";
        }
#endif
        path_ = base / ("surftally-longrun-" + std::to_string(std::random_device{}()) +
                        std::to_string(std::random_device{}()));
        if (!std::filesystem::create_directory(path_, ec)) {
            path_.clear();
        }
    }
    ~MemoryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const {
        return path_;
    }

private:
    std::filesystem::path path_;
};

#ifndef _WIN32
bool inPeriod(milliseconds t) {
    return t > kBegin && t < kEnd;
}
#endif

}  // namespace

#ifndef _WIN32  // under Wine a month of runs takes too long; the counting is the same code
// A month of use over the fake clock: on-line and off-line spells of random length, ticks a
// little late at random, suspends that move the time of day but not the monotonic clock,
// midnights, a daylight-saving shift forward and one back, all with the economic period in
// force. The balance charged must equal the on-line time less the discount, within a second
// per day, and the stored balance must never trail the shown one by more than a minute.
TEST(LongRun, MonthOnAndOffLineAcrossMidnightsAndDaylightSaving) {
    MemoryFolder memory;
    ASSERT_FALSE(memory.path().empty());
    const DataFolder folder(memory.path());
    folder.WriteLines("remain.dat", {SecondsToBalance(kStart)});
    folder.WriteLines("alarm.dat", {"2"});
    folder.WriteLines("position.dat", {"-1", "-1"});
    folder.WriteLines("economic.dat", {"01:00", "05:30", "50"});

    FakeClock clock(20h);
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    ConnectionText.clear();
    ASSERT_EQ(ReadStoredState(state, folder, clock, 768).error, "");
    BalanceTick tick(state, clock, flags, folder, view);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> lateness(0, 15);
    std::uniform_int_distribution<int> onlineMinutes(5, 240);
    std::uniform_int_distribution<int> offlineMinutes(1, 60);
    std::uniform_int_distribution<int> suspendMinutes(60, 1200);

    double expected = 0;  // seconds due: on-line time less the discount
    int day = 0;
    bool springForwardDone = false;
    bool fallBackDone = false;
    std::int64_t worstLag = 0;
    std::int64_t worstError = 0;
    bool online = false;
    std::int64_t runs = 0;

    // One timer period of real time; on-line (or not) for all of it, as the run at its end sees.
    const auto step = [&](milliseconds period) {
        const milliseconds before = clock.timeOfDay();
        const milliseconds middle = (before + period / 2) % kDay;
        clock.advance(period);
        if (clock.timeOfDay() < before) {
            ++day;
        }
        if (online) {
            expected +=
                std::chrono::duration<double>(period).count() * (inPeriod(middle) ? 0.5 : 1);
        }
        tick.Timer1Timer();
        ++runs;

        // Daylight saving: 02:00 becomes 03:00 on day 10, 03:00 becomes 02:00 on day 24.
        if (day == 10 && !springForwardDone && clock.timeOfDay() >= 2h) {
            clock.setTimeOfDay(clock.timeOfDay() + 1h);
            springForwardDone = true;
        }
        if (day == 24 && !fallBackDone && clock.timeOfDay() >= 3h) {
            clock.setTimeOfDay(clock.timeOfDay() - 1h);
            fallBackDone = true;
        }
    };

    const auto shownSeconds = [&] { return std::int64_t{state.BaseSeconds} - state.SecondsUsed; };

    while (day < 30) {
        // On-line spell.
        online = true;
        flags.setOnline(random() % 2 ? ConnectionFlags::kModem : ConnectionFlags::kLan);
        for (int seconds = onlineMinutes(random) * 60; seconds > 0; --seconds) {
            step(milliseconds(1000 + lateness(random)));
            // A missed minute mark lets the lag grow towards two minutes; looking every ten
            // runs sees it.
            if (seconds % 10 == 0) {
                const std::int64_t stored = BalanceToSeconds(folder.ReadLine("remain.dat"));
                worstLag = std::max(worstLag, stored - shownSeconds());
            }
        }
        // Off-line spell; the first run after the drop saves what was shown.
        online = false;
        flags.setOffline();
        step(milliseconds(1000 + lateness(random)));
        ASSERT_EQ(folder.ReadLine("remain.dat"), SecondsToBalance(shownSeconds()));
        for (int seconds = offlineMinutes(random) * 60; seconds > 0; --seconds) {
            step(milliseconds(1000 + lateness(random)));
        }
        // Every other spell ends in a sleep of an hour to most of a day: the time of day moves
        // on, the monotonic clock does not.
        if (random() % 2 == 0) {
            const milliseconds before = clock.timeOfDay();
            clock.setTimeOfDay(before + std::chrono::minutes(suspendMinutes(random)));
            if (clock.timeOfDay() < before) {
                ++day;
            }
        }
        const double charged = static_cast<double>(kStart - shownSeconds());
        worstError = std::max<std::int64_t>(
            worstError, static_cast<std::int64_t>(std::ceil(std::fabs(charged - expected))));
        ASSERT_LE(std::fabs(charged - expected), day + 1.0)
            << "charged " << charged << " s, due " << expected << " s by day " << day;
    }
    EXPECT_TRUE(springForwardDone && fallBackDone);
    EXPECT_LE(worstLag, 60) << "the stored balance trailed the shown one by " << worstLag << " s";
    EXPECT_TRUE(view.errors.empty()) << view.errors.front();
    std::printf(
        "a month, %lld runs: %.0f s due, %lld s charged, worst difference %lld s, worst lag %lld "
        "s\n",
        static_cast<long long>(runs), expected, static_cast<long long>(kStart - shownSeconds()),
        static_cast<long long>(worstError), static_cast<long long>(worstLag));
}

#endif

// A run that comes late can pass a minute mark without ever showing its "00" second; the mark
// must still be saved, or the stored balance trails the shown one by up to two minutes.
TEST(LongRun, LateRunsThatSkipTheMarkStillSave) {
    MemoryFolder memory;
    ASSERT_FALSE(memory.path().empty());
    const DataFolder folder(memory.path());
    folder.WriteLines("remain.dat", {"012:00:00"});
    folder.WriteLines("alarm.dat", {"2"});
    folder.WriteLines("position.dat", {"-1", "-1"});
    folder.WriteLines("economic.dat", {"00:00", "00:00", "0"});
    FakeClock clock(12h);
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    ConnectionText.clear();
    ASSERT_EQ(ReadStoredState(state, folder, clock, 768).error, "");
    BalanceTick tick(state, clock, flags, folder, view);
    flags.setOnline(ConnectionFlags::kModem);

    // Every run 1.7 s after the one before: the shown seconds skip every third value or so,
    // "00" among them in most minutes.
    for (int run = 0; run < 400; ++run) {
        clock.advance(1700ms);
        tick.Timer1Timer();
        const std::int64_t shown = BalanceToSeconds(view.display);
        const std::int64_t stored = BalanceToSeconds(folder.ReadLine("remain.dat"));
        ASSERT_LE(stored - shown, 60) << "run " << run << " shows " << view.display;
        ASSERT_GE(stored, shown);
    }
}
