// Memory over a simulated month of use: the balance tick on the fake clock, on-line and
// off-line in turn with minute-mark saves, sleeps, midnights and daylight-saving shifts. Prints
// the heap in use and the resident size at the end of every fifth day, and fails when the heap
// in use at the end exceeds that after the first day: a tick that kept anything per run or per
// save would show here.

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

namespace {

constexpr int kDays = 30;
// Heap bytes of difference that still count as none (allocator bookkeeping).
constexpr long long kAllowedGrowth = 1024;

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
    std::string pattern =
        ((::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                          : std::filesystem::temp_directory_path()) /
         "surftally-memory-XXXXXX")
            .string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::filesystem::path dir = pattern;
    int status = 0;
    {
        const DataFolder folder(dir);
        folder.WriteLines("remain.dat", {"999:00:00"});
        folder.WriteLines("alarm.dat", {"2"});
        folder.WriteLines("position.dat", {"-1", "-1"});
        folder.WriteLines("economic.dat", {"01:00", "05:30", "50"});

        FakeClock clock(20h);
        FakeConnectionFlags flags;
        FakeTickView view;
        SharedState state;
        ConnectionText.clear();
        ReadStoredState(state, folder, clock, 768);
        BalanceTick tick(state, clock, flags, folder, view);

        std::mt19937 random(1);
        std::uniform_int_distribution<int> lateness(0, 15);
        int day = 0;
        long long runs = 0;
        long long heapAfterFirstDay = -1;
        std::printf("%4s %12s %12s %14s\n", "day", "runs", "heap bytes", "resident KiB");
        const auto run = [&](int count) {
            for (int i = 0; i < count && day < kDays; ++i) {
                const milliseconds before = clock.timeOfDay();
                clock.advance(milliseconds(1000 + lateness(random)));
                tick.Timer1Timer();
                ++runs;
                if (clock.timeOfDay() < before) {
                    ++day;
                    if (day == 1) {
                        heapAfterFirstDay = heapInUse();
                    }
                    if (day == 1 || day % 5 == 0) {
                        std::printf("%4d %12lld %12lld %14lld\n", day, runs, heapInUse(),
                                    residentKiB());
                    }
                    if (day == 10 || day == 24) {
                        clock.setTimeOfDay(clock.timeOfDay() + (day == 10 ? 1h : -1h));
                    }
                }
            }
        };
        while (day < kDays) {
            flags.setOnline(random() % 2 ? ConnectionFlags::kModem : ConnectionFlags::kLan);
            run(static_cast<int>(60 * (5 + random() % 236)));
            flags.setOffline();
            run(static_cast<int>(60 * (1 + random() % 60)));
        }
        const long long growth = heapInUse() - heapAfterFirstDay;
        std::printf("heap in use grew by %lld bytes from day 1 to day %d (%zu errors reported)\n",
                    growth, kDays, view.errors.size());
        if (growth > kAllowedGrowth) {
            std::printf("FAILED: the heap in use grows with time\n");
            status = 1;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return status;
}
