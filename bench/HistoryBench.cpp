#include <benchmark/benchmark.h>

#include "accounting/History.h"
#include "bench/HistoryDays.h"
#include "forms/HistoryChart.h"
#include "forms/THistoryForm.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

// Opening the history window over 400 days of spells: history.dat read and parsed, then the
// chart's 30 days, the totals, the forecast and the chart's shapes at 1x.
static void BM_OpenHistoryWindow(benchmark::State& s) {
    TempFolder temp;
    FakeClock clock;
    const LocalDay today = std::chrono::floor<std::chrono::days>(clock.localDateTime());
    DataFolder folder{temp.path()};
    folder.WriteLines(DataFile::History, FullHistory(today));
    std::size_t shapes = 0;
    for (auto _ : s) {
        SpellHistory history(folder, clock,
                             [&s](const std::string& e) { s.SkipWithError(e.c_str()); });
        const std::vector<Spell>& spells = history.Spells();
        const auto days = DailyUse(spells, today, THistoryForm::kDays);
        benchmark::DoNotOptimize(TotalsOf(spells, today));
        benchmark::DoNotOptimize(ForecastOf(spells, today, 12 * 3600, 2 * 3600));
        shapes = HistoryChart::Shapes(days, {384, 176}, 1.0, false).size();
    }
    s.SetLabel(std::to_string(FullHistory(today).size()) + " spells, " + std::to_string(shapes) +
               " shapes");
}
BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond);
