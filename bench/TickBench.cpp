#include <benchmark/benchmark.h>

#include "accounting/BalanceTick.h"
#include "accounting/ConnectionProbe.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "bench/HistoryDays.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/TempFolder.h"

#ifdef __linux__
#include "platform/linux/LinuxConnectionFlags.h"
#endif

using namespace surftally;
using namespace std::chrono_literals;

namespace {

// A started program on-line through a modem, with the tick's collaborators faked.
struct TickRig {
    TickRig() {
        temp.seedDefaults();
        temp.put("remain.dat", "012:00:00\r\n");
        ReadStoredState(state, folder, clock, 768);
        ConnectionText.clear();
        flags.setOnline(ConnectionFlags::kModem);
    }
    TempFolder temp;
    DataFolder folder{temp.path()};
    FakeClock clock{12h};
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    BalanceTick tick{state, clock, flags, folder, view};
};

}  // namespace

// A run on-line between minute marks: the existence test of remain.dat is its only file work.
static void BM_TickOnline(benchmark::State& s) {
    TickRig rig;
    rig.clock.advance(1s);
    rig.tick.Timer1Timer();
    for (auto _ : s) {
        rig.clock.advance(1ns);
        rig.tick.Timer1Timer();
    }
}
BENCHMARK(BM_TickOnline)->Unit(benchmark::kMicrosecond);

// A run off-line in the clock view.
static void BM_TickOffline(benchmark::State& s) {
    TickRig rig;
    rig.flags.setOffline();
    for (auto _ : s) {
        rig.clock.advance(1s);
        rig.tick.Timer1Timer();
    }
}
BENCHMARK(BM_TickOffline)->Unit(benchmark::kMicrosecond);

// A run at a minute mark: counts, then replaces remain.dat atomically.
static void BM_TickMinuteMark(benchmark::State& s) {
    TickRig rig;
    for (auto _ : s) {
        RebaseBalance(rig.state, rig.clock, 12 * 3600 + 1);
        rig.clock.advance(1s);
        rig.tick.Timer1Timer();
    }
    if (rig.view.display != "012:00:00" || rig.temp.get("remain.dat") != "012:00:00\r\n") {
        s.SkipWithError("the run did not save at the mark");
    }
}
BENCHMARK(BM_TickMinuteMark)->Unit(benchmark::kMicrosecond);

// A run that ends a minute on-line with 400 days of spells in history.dat: besides the
// balance's save at the mark, the spell's line is brought up to date and the history file
// replaced.
static void BM_TickMinuteWithHistory(benchmark::State& s) {
    TickRig rig;
    rig.folder.WriteLines(
        DataFile::History,
        FullHistory(std::chrono::floor<std::chrono::days>(rig.clock.localDateTime())));
    rig.clock.advance(1s);
    rig.tick.Timer1Timer();
    for (auto _ : s) {
        RebaseBalance(rig.state, rig.clock, 12 * 3600);
        rig.clock.advance(60s);
        rig.tick.Timer1Timer();
    }
    if (rig.temp.get("history.dat").find(";Modem;") == std::string::npos) {
        s.SkipWithError("the run did not write the history");
    }
}
BENCHMARK(BM_TickMinuteWithHistory)->Unit(benchmark::kMicrosecond);

#ifdef __linux__
// The probe against this machine's own routes and interfaces.
static void BM_ProbeConnection(benchmark::State& s) {
    LinuxConnectionFlags flags;
    std::string text;
    for (auto _ : s) {
        benchmark::DoNotOptimize(ProbeConnection(flags, text));
    }
    s.SetLabel(text);
}
BENCHMARK(BM_ProbeConnection)->Unit(benchmark::kMicrosecond);
#endif
