#include <gtest/gtest.h>

#include <windows.h>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "platform/windows/WinSystemClock.h"
#include "store/DataFolder.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/TempFolder.h"

using namespace surftally;
using namespace std::chrono_literals;

namespace {

// A machine's two times: the interrupt time stops while it sleeps, the local time goes on.
struct FakeMachine {
    void run(std::chrono::milliseconds d) {
        interruptUnits += static_cast<std::uint64_t>(d.count()) * 10'000;
        local = (local + d) % 24h;
    }
    void sleep(std::chrono::milliseconds d) { local = (local + d) % 24h; }

    WinSystemClock::Sources sources() {
        return {[this] { return interruptUnits; },
                [this] {
                    const auto ms = local.count();
                    return WinSystemClock::LocalTime{
                        static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                        static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
                }};
    }

    std::uint64_t interruptUnits = 123'456'789;
    std::chrono::milliseconds local = 21h;
};

}  // namespace

// A laptop closed on-line for a night and opened again still on the LAN (the system reports
// the LAN right after resume): the first tick charges the second it waited, not the night.
TEST(WinSystemClock, ResumeAfterANightsSleepChargesNothingForTheSleep) {
    FakeMachine machine;
    const WinSystemClock clock(machine.sources());
    TempFolder temp;
    temp.seedDefaults();
    temp.put("remain.dat", "012:00:00\r\n");
    const DataFolder folder(temp.path());
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    ConnectionText.clear();
    ASSERT_EQ(ReadStoredState(state, folder, clock, 768).error, "");
    BalanceTick tick(state, clock, flags, folder, view);

    flags.setOnline(ConnectionFlags::kLan);
    for (int i = 0; i < 10; ++i) {
        machine.run(1000ms);
        tick.Timer1Timer();
    }
    ASSERT_EQ(view.display, "011:59:50");

    machine.sleep(9h);  // 21:00:10 to 06:00:10, across midnight
    machine.run(1000ms);
    tick.Timer1Timer();
    EXPECT_EQ(view.display, "011:59:49");
    EXPECT_EQ(view.status, "LAN Internet");
    EXPECT_TRUE(view.errors.empty());
}

TEST(WinSystemClock, ReadsHundredNanosecondUnitsAndTheLocalTime) {
    FakeMachine machine;
    machine.local = 13h + 5min + 7s + 250ms;
    const WinSystemClock clock(machine.sources());
    const auto before = clock.monotonic();
    EXPECT_EQ(before, std::chrono::nanoseconds(12'345'678'900));
    machine.run(1500ms);
    EXPECT_EQ(clock.monotonic() - before, 1500ms);
    EXPECT_EQ(clock.timeOfDay(), 13h + 5min + 8s + 750ms);
}

// The system's clock: the precise form where the system exports it, monotonic, moving, and a
// time of day that is the local time.
TEST(WinSystemClock, TheSystemClockIsMonotonicAndTicks) {
    const WinSystemClock clock;
    const HMODULE kernelBase = ::GetModuleHandleW(L"kernelbase.dll");
    const bool exported =
        (kernelBase != nullptr &&
         ::GetProcAddress(kernelBase, "QueryUnbiasedInterruptTimePrecise") != nullptr) ||
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"),
                         "QueryUnbiasedInterruptTimePrecise") != nullptr;
    EXPECT_EQ(clock.precise(), exported);

    auto last = clock.monotonic();
    EXPECT_GT(last.count(), 0);
    for (int i = 0; i < 10'000; ++i) {
        const auto now = clock.monotonic();
        ASSERT_GE(now, last);
        last = now;
    }
    ::Sleep(50);
    EXPECT_GT(clock.monotonic(), last);

    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    const auto expected = std::chrono::hours(local.wHour) + std::chrono::minutes(local.wMinute) +
                          std::chrono::seconds(local.wSecond);
    auto difference = clock.timeOfDay() - expected;
    if (difference < -12h) {
        difference += 24h;  // midnight passed between the two reads
    }
    EXPECT_GE(difference, 0ms);
    EXPECT_LT(difference, 2s);
}
