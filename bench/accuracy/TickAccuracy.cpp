// Counting accuracy over a simulated day on-line: the balance tick against the real seconds,
// at several timer periods with random lateness, side by side with the older rule that moved
// the base to "now" at every minute mark and took elapsed time from differences of the time
// of day (wrapping at 23:59:59).

#include <chrono>
#include <cstdio>
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
#include "tests/support/TempFolder.h"

using namespace surftally;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

constexpr std::int32_t kStartBalance = 500 * 3600;
constexpr milliseconds kStartTime = 12h;  // the day on-line crosses midnight
constexpr milliseconds kDay = 24h;
constexpr int kMaxJitterMs = 15;

struct Economic {
    const char* name;
    milliseconds begin;
    milliseconds end;
    int percent;
};

// Inside the period as the older rule tests it: strictly after the begin and before the end.
bool InPeriod(const Economic& e, milliseconds t) {
    return e.percent != 0 && t > e.begin && t < e.end;
}

// The older rule, step by step, on the time of day with millisecond resolution.
class OlderRule {
public:
    explicit OlderRule(const Economic& e, milliseconds now) : economic_(e), baseTime_(now) {}

    void tick(milliseconds now) {
        const std::int64_t elapsed = now >= baseTime_
                                         ? (now - baseTime_).count()
                                         : (milliseconds(86'399'000) - baseTime_ + now).count();
        std::int64_t used = elapsed / 1000;
        if (InPeriod(economic_, now)) {
            used = static_cast<std::int64_t>((1.0 - economic_.percent / 100.0) *
                                             static_cast<double>(used));
        }
        const std::int64_t shown = std::max<std::int64_t>(baseSeconds_ - used, 0);
        if (shown % 60 == 0 && !minuteSaved_) {
            baseTime_ = now;
            baseSeconds_ = shown;
            minuteSaved_ = true;
        } else {
            minuteSaved_ = false;
        }
        shown_ = shown;
    }

    std::int64_t charged() const { return kStartBalance - shown_; }

private:
    Economic economic_;
    milliseconds baseTime_;
    std::int64_t baseSeconds_ = kStartBalance;
    std::int64_t shown_ = kStartBalance;
    bool minuteSaved_ = true;
};

struct Result {
    double real = 0;      // seconds on-line
    double expected = 0;  // seconds that should be charged
    std::int64_t tick = 0;
    std::int64_t older = 0;
};

std::string TimeText(milliseconds t) {
    const auto m = static_cast<std::int32_t>(t.count() / 60000);
    return ZeroPadded(m / 60, 2) + ":" + ZeroPadded(m % 60, 2);
}

Result SimulateDay(const Economic& economic, int periodMs, unsigned seed) {
    TempFolder temp;
    temp.seedDefaults();
    temp.put("remain.dat", SecondsToBalance(kStartBalance) + "\r\n");
    temp.put("economic.dat", TimeText(economic.begin) + "\r\n" + TimeText(economic.end) + "\r\n" +
                                 std::to_string(economic.percent) + "\r\n");
    const DataFolder folder(temp.path());
    FakeClock clock(kStartTime);
    FakeConnectionFlags flags;
    flags.setOnline(ConnectionFlags::kModem);
    FakeTickView view;
    SharedState state;
    ConnectionText.clear();
    ReadStoredState(state, folder, clock, 768);
    BalanceTick tick(state, clock, flags, folder, view);
    OlderRule older(economic, clock.timeOfDay());

    std::mt19937 random(seed);
    std::uniform_int_distribution<int> jitter(0, kMaxJitterMs);
    Result r;
    for (milliseconds spent{0}; spent < kDay;) {
        const milliseconds step(periodMs + jitter(random));
        spent += step;
        clock.advance(step);
        const double seconds = std::chrono::duration<double>(step).count();
        r.real += seconds;
        r.expected += InPeriod(economic, clock.timeOfDay())
                          ? seconds * (100 - economic.percent) / 100.0
                          : seconds;
        tick.Timer1Timer();
        older.tick(clock.timeOfDay());
    }
    r.tick = kStartBalance - (std::int64_t{state.BaseSeconds} - state.SecondsUsed);
    r.older = older.charged();
    if (!view.errors.empty()) {
        std::fprintf(stderr, "tick reported: %s\n", view.errors.front().c_str());
    }
    return r;
}

}  // namespace

int main() {
    const Economic economics[] = {
        {"no economic period", 0ms, 0ms, 0},
        {"50 % discount 00:00-23:59", 0h, 23h + 59min, 50},
    };
    const int periods[] = {950, 999, 1000, 1001, 1016, 1050};

    std::printf("Counting accuracy: 24 h on-line from %s, timer lateness 0-%d ms at random\n",
                TimeText(kStartTime).c_str(), kMaxJitterMs);
    for (const Economic& e : economics) {
        std::printf("\n%s\n", e.name);
        std::printf("%9s %11s %11s | %11s %8s | %11s %8s\n", "period ms", "real s", "due s",
                    "tick s", "off s", "older s", "off s");
        unsigned seed = 1;
        for (const int p : periods) {
            const Result r = SimulateDay(e, p, seed++);
            std::printf("%9d %11.1f %11.1f | %11lld %+8.1f | %11lld %+8.1f\n", p, r.real,
                        r.expected, static_cast<long long>(r.tick),
                        static_cast<double>(r.tick) - r.expected, static_cast<long long>(r.older),
                        static_cast<double>(r.older) - r.expected);
        }
    }
    std::printf(
        "\n\"due\" is the on-line time less the discount where it applies; \"off\" is what was "
        "charged beyond it (negative: time given away).\n");
    return 0;
}
