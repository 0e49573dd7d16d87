#include <benchmark/benchmark.h>

#include "accounting/ConnectionProbe.h"
#include "bench/HistoryDays.h"
#include "tests/support/TickRig.h"

#ifdef __linux__
#include "platform/linux/LinuxConnectionFlags.h"
#endif

using namespace surftally;
using namespace std::chrono_literals;

namespace {

// A started program on-line through a modem, with the tick's collaborators faked.
struct OnlineRig : TickRig<> {
    OnlineRig() {
        start("012:00:00");
        flags.setOnline(ConnectionFlags::kModem);
    }
};

}  // namespace

// A run between minute marks: on-line, where the existence test of remain.dat is its only file
// work, or off-line in the clock view.
static void BM_Tick(benchmark::State& s, bool online) {
    OnlineRig rig;
    if (!online) {
        rig.flags.setOffline();
    }
    rig.clock.advance(1s);
    rig.tick.Timer1Timer();
    const std::chrono::nanoseconds step = online ? 1ns : std::chrono::nanoseconds(1s);
    for (auto _ : s) {
        rig.clock.advance(step);
        rig.tick.Timer1Timer();
    }
}
BENCHMARK_CAPTURE(BM_Tick, Online, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Tick, Offline, false)->Unit(benchmark::kMicrosecond);

// A run at a minute mark: counts, then replaces remain.dat atomically.
static void BM_TickMinuteMark(benchmark::State& s) {
    OnlineRig rig;
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
    OnlineRig rig;
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
