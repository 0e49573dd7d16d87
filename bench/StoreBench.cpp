#include <benchmark/benchmark.h>

#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

static void BM_BalanceToSeconds(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BalanceToSeconds("012:05:30"));
    }
}
BENCHMARK(BM_BalanceToSeconds);

// One balance save: the atomic replace, flushed to the disk.
static void BM_WriteBalance(benchmark::State& state) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    for (auto _ : state) {
        folder.WriteLines("remain.dat", {"012:05:30"});
    }
}
BENCHMARK(BM_WriteBalance)->Unit(benchmark::kMicrosecond);

static void BM_ReadBalance(benchmark::State& state) {
    TempFolder temp;
    temp.put("remain.dat", "012:05:30\r\n");
    const DataFolder folder(temp.path());
    for (auto _ : state) {
        benchmark::DoNotOptimize(folder.ReadLine("remain.dat"));
    }
}
BENCHMARK(BM_ReadBalance)->Unit(benchmark::kMicrosecond);
