// Memory over a simulated month of use: the balance tick on the fake clock, on-line and
// off-line in turn with minute-mark saves, sleeps, midnights and daylight-saving shifts. Prints
// the heap in use and the resident size at the end of every fifth day, and fails when the heap
// in use at the end exceeds that after the first day by more than the spells the history has
// added since (it keeps 400 days of them): a tick that kept anything per run or per save would
// show here.

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "tests/support/TickRig.h"

using namespace surftally;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

constexpr int kDays = 30;
// Heap bytes of difference that still count as none (allocator bookkeeping).
constexpr long long kAllowedGrowth = 1024;
// Heap bytes a spell the history keeps may take: its parsed line and its entry, with the
// vectors' spare room.
constexpr long long kBytesPerSpell = 512;

long long spellsKept(const TempFolder& folder) {
    const std::string lines = folder.get("history.dat");
    return static_cast<long long>(std::count(lines.begin(), lines.end(), '\n'));
}

long long heapInUse() {
    return static_cast<long long>(mallinfo2().uordblks);
}

long long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stoll(line.substr(6));
        }
    }
    return 0;
}

}  // namespace

int main() {
    int status = 0;
    {
        // In memory, as the long-run test: the saves are not what is measured.
        TickRig<> rig(TempFolder::Place::Memory, 20h);
        rig.start("999:00:00", "2", "01:00\r\n05:30\r\n50\r\n");

        std::mt19937 random(1);
        std::uniform_int_distribution<int> lateness(0, 15);
        int day = 0;
        long long runs = 0;
        long long heapAfterFirstDay = -1;
        long long spellsAfterFirstDay = 0;
        std::printf("%4s %12s %12s %14s\n", "day", "runs", "heap bytes", "resident KiB");
        const auto run = [&](int count) {
            for (int i = 0; i < count && day < kDays; ++i) {
                const milliseconds before = rig.clock.timeOfDay();
                rig.clock.advance(milliseconds(1000 + lateness(random)));
                rig.tick.Timer1Timer();
                ++runs;
                if (rig.clock.timeOfDay() < before) {
                    ++day;
                    if (day == 1) {
                        heapAfterFirstDay = heapInUse();
                        spellsAfterFirstDay = spellsKept(rig.temp);
                    }
                    if (day == 1 || day % 5 == 0) {
                        std::printf("%4d %12lld %12lld %14lld\n", day, runs, heapInUse(),
                                    residentKiB());
                    }
                    if (day == 10 || day == 24) {
                        rig.clock.setTimeOfDay(rig.clock.timeOfDay() + (day == 10 ? 1h : -1h));
                    }
                }
            }
        };
        while (day < kDays) {
            rig.flags.setOnline(random() % 2 ? ConnectionFlags::kModem : ConnectionFlags::kLan);
            run(static_cast<int>(60 * (5 + random() % 236)));
            rig.flags.setOffline();
            run(static_cast<int>(60 * (1 + random() % 60)));
        }
        const long long growth = heapInUse() - heapAfterFirstDay;
        const long long spells = spellsKept(rig.temp) - spellsAfterFirstDay;
        std::printf(
            "heap in use grew by %lld bytes from day 1 to day %d, with %lld more spells in "
            "the history (%zu errors reported)\n",
            growth, kDays, spells, rig.view.errors.size());
        if (growth > kAllowedGrowth + spells * kBytesPerSpell) {
            std::printf("FAILED: the heap in use grows with time\n");
            status = 1;
        }
    }
    return status;
}
