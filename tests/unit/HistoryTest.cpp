#include "accounting/History.h"

#include <gtest/gtest.h>

using namespace surftally;
using namespace std::chrono_literals;

namespace {

LocalTime at(const char* text) {
    return *ParseLocalTime(text);
}
LocalDay dayOf(const char* text) {
    return std::chrono::floor<std::chrono::days>(at(text));
}

Spell spell(const char* start, const char* end, std::int64_t charged, std::int64_t online) {
    return {at(start), at(end), "Modem", charged, online};
}

}  // namespace

TEST(HistoryTest, LineRoundTripsAndWrongLinesAreNotSpells) {
    const std::string line = "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;2311;2858";
    const auto parsed = ParseSpell(line);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->connection, "Modem");
    EXPECT_EQ(parsed->charged, 2311);
    EXPECT_EQ(parsed->online, 2858);
    EXPECT_EQ(FormatSpell(*parsed), line);
    EXPECT_EQ(FormatSpell(*ParseSpell("2026-01-02 03:04:05;2026-01-02 03:04:05;LAN Internet;0;0")),
              "2026-01-02 03:04:05;2026-01-02 03:04:05;LAN Internet;0;0");

    for (const char* wrong : {
             "",
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;2311",             // a field short
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;2311;2858;1",      // one too many
             "2026-02-30 20:15:02;2026-03-01 21:02:40;Modem;1;1",              // no such day
             "2026-12-09 24:00:00;2026-12-10 01:00:00;Modem;1;1",              // no such hour
             "2026-12-09 20:15:02;2026-12-09 21:02:40;;1;1",                   // no connection
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;-1;1",             // negative
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;5;4",              // charged > on-line
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem; 5;9",             // a blank
             "2026-12-09 20:15:02;2026-12-09 21:02:40;Modem;1234567890123;1",  // too long
             "2026-12-09 20:15:02;2026-12-09 18:00:00;Modem;1;1",              // ends hours before
             "2026-12-09T20:15:02;2026-12-09 21:02:40;Modem;1;1",
         }) {
        EXPECT_FALSE(ParseSpell(wrong)) << wrong;
    }
    // The hour a clock goes back in autumn may put the end before the start.
    EXPECT_TRUE(ParseSpell("2026-10-25 02:50:00;2026-10-25 02:10:00;Modem;1200;1200"));
}

TEST(HistoryTest, UnreadableLinesAreKeptWhereTheyStoodAndOldSpellsAreCut) {
    const std::vector<std::string> lines = {
        "2025-11-01 10:00:00;2025-11-01 11:00:00;Modem;3600;3600",  // ended 403 days before
        "garbage; from an editor",
        "2025-11-05 10:00:00;2025-11-05 11:00:00;Modem;3600;3600",  // 399 days before: kept
        "",
        "2026-12-09 08:00:00;2026-12-09 08:30:00;LAN Internet;900;1800",
    };
    HistoryRecord record(lines);
    EXPECT_EQ(record.spells().size(), 3u);
    EXPECT_EQ(record.unreadable(), std::vector<std::string>{"garbage; from an editor"});

    record.Begin(spell("2026-12-09 20:00:00", "2026-12-09 20:00:00", 0, 0));
    record.Update(spell("2026-12-09 20:00:00", "2026-12-09 20:01:00", 60, 60));
    record.Cut(at("2026-12-09 20:01:00"));
    EXPECT_EQ(record.Lines(), (std::vector<std::string>{
                                  "garbage; from an editor",
                                  "2025-11-05 10:00:00;2025-11-05 11:00:00;Modem;3600;3600",
                                  "2026-12-09 08:00:00;2026-12-09 08:30:00;LAN Internet;900;1800",
                                  "2026-12-09 20:00:00;2026-12-09 20:01:00;Modem;60;60",
                              }));
    // Read again, the spell just written is one line, not two.
    EXPECT_EQ(HistoryRecord(record.Lines()).spells().size(), 3u);
}

TEST(HistoryTest, SpellAcrossMidnightIsSplitAndItsPartsAddUp) {
    // 23:00 to 01:30: 3600 s before midnight, 5400 s after; a discount charged 6001 of 9000.
    const std::vector<Spell> spells = {
        spell("2026-12-08 23:00:00", "2026-12-09 01:30:00", 6001, 9000),
        spell("2026-12-09 10:00:00", "2026-12-09 10:10:00", 0, 600),  // frozen
    };
    const auto use = DailyUse(spells, dayOf("2026-12-09 12:00:00"), 30);
    ASSERT_EQ(use.size(), 30u);
    EXPECT_EQ(use.back().day, dayOf("2026-12-09 00:00:00"));
    EXPECT_EQ(use[28].online, 3600);
    EXPECT_EQ(use.back().online, 5400 + 600);
    EXPECT_EQ(use[28].charged + use.back().charged, 6001);
    EXPECT_EQ(use[28].charged, 6001 * 3600 / 9000);
    for (std::size_t i = 0; i < 28; ++i) {
        EXPECT_EQ(use[i].online, 0) << i;
    }

    // A spell that began before the 30 days counts only its part inside them.
    const auto later = DailyUse(spells, dayOf("2027-01-07 00:00:00"), 30);
    EXPECT_EQ(later.front().day, dayOf("2026-12-09 00:00:00"));
    EXPECT_EQ(later.front().online, 5400 + 600);
    EXPECT_EQ(later.front().charged, 6001 - use[28].charged);
}

TEST(HistoryTest, TotalsAndForecastFollowTheLastSevenDays) {
    // 2 hours charged a day for the 7 days up to 09.12, one more hour on 01.12.
    std::vector<Spell> spells;
    for (int d = 3; d <= 9; ++d) {
        const std::string day = "2026-12-0" + std::to_string(d);
        spells.push_back({at((day + " 10:00:00").c_str()), at((day + " 12:00:00").c_str()), "Modem",
                          7200, 7200});
    }
    spells.push_back(spell("2026-12-01 10:00:00", "2026-12-01 11:00:00", 3600, 3600));
    spells.push_back(spell("2026-11-30 10:00:00", "2026-11-30 11:00:00", 3600, 3600));
    const LocalDay today = dayOf("2026-12-09 00:00:00");

    const UseTotals totals = TotalsOf(spells, today);
    EXPECT_EQ(totals.today, 7200);
    EXPECT_EQ(totals.week, 7 * 7200);
    EXPECT_EQ(totals.month, 7 * 7200 + 3600);

    // 25 hours at 2 a day: 12 whole days more; below 2 hours' minimum after 11.
    Forecast forecast = ForecastOf(spells, today, 25 * 3600, 2 * 3600);
    ASSERT_TRUE(forecast.used);
    EXPECT_EQ(FormatDay(forecast.empty), "21.12.2026");
    ASSERT_TRUE(forecast.belowMinimum);
    EXPECT_EQ(FormatDay(*forecast.belowMinimum), "20.12.2026");
    // Already below the minimum: only the day it runs out; nothing left: today.
    EXPECT_FALSE(ForecastOf(spells, today, 3600, 2 * 3600).belowMinimum);
    EXPECT_EQ(ForecastOf(spells, today, 0, 0).empty, today);

    // Nothing used in the last 7 days: no dates, even with older spells.
    EXPECT_FALSE(ForecastOf(spells, dayOf("2026-12-20 00:00:00"), 3600, 0).used);
}
