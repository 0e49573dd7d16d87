#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace surftally {

// A local date and time to the second, as the computer's clock shows it.
using LocalTime = std::chrono::local_seconds;
using LocalDay = std::chrono::local_days;

// One on-line spell: from the tick that first counted to the one that found the connection
// gone (or the program's end). charged: whole seconds taken off the balance, after the
// discount, none while frozen; online: whole seconds on-line.
struct Spell {
    LocalTime start{};
    LocalTime end{};
    std::string connection;
    std::int64_t charged = 0;
    std::int64_t online = 0;

    bool operator==(const Spell&) const = default;
};

// "YYYY-MM-DD HH:MM:SS"
std::string FormatLocalTime(LocalTime time);
std::optional<LocalTime> ParseLocalTime(std::string_view text);

// A line of history.dat: "start;end;connection;charged;online".
std::string FormatSpell(const Spell& spell);
// Nothing for a line that is not a spell: a wrong field count, a date that does not exist,
// an end before the start, a negative or non-numeric count, more charged than on-line.
std::optional<Spell> ParseSpell(std::string_view line);

// Spells that ended more than this long ago are dropped when the record is written.
inline constexpr std::chrono::days kHistoryKept{400};

// The lines of history.dat as read: each a spell or a line kept as it stands, in file order.
// What cannot be read is never dropped: it is written back untouched.
class HistoryRecord {
public:
    HistoryRecord() = default;
    explicit HistoryRecord(const std::vector<std::string>& lines);

    const std::vector<Spell>& spells() const { return spells_; }
    // The lines that are not spells (for one report), in file order.
    std::vector<std::string> unreadable() const;

    // The spell in progress: added by Begin, brought up to date by Update.
    void Begin(const Spell& spell);
    void Update(const Spell& spell);
    bool inProgress() const { return inProgress_; }
    void End() { inProgress_ = false; }

    // Drops the spells that ended more than kHistoryKept before now.
    void Cut(LocalTime now);

    // The lines to write, unreadable ones where they stood.
    std::vector<std::string> Lines() const;

private:
    // Each line: a spell (index into spells_) or a kept text.
    struct Entry {
        std::size_t spell = 0;
        std::string kept;
        bool isSpell = false;
    };
    std::vector<Entry> entries_;
    std::vector<Spell> spells_;
    bool inProgress_ = false;
};

class Clock;
class DataFolder;

// Keeps history.dat: the tick tells it each on-line run, and the end of each spell. The file
// is read once, at the first spell; written when a spell has gathered another minute on-line
// and when it ends, so a crash loses at most its last minute. A file that cannot be read is
// reported once and never written over; an unreadable line is reported once and kept.
class SpellHistory {
public:
    using Report = std::function<void(const std::string&)>;
    SpellHistory(const DataFolder& folder, const Clock& clock, Report report);

    // An on-line run through connection that charged chargedSeconds (negative when a freeze
    // gave some back) in online time; begins a spell where none is in progress, and a new one
    // when the connection changed.
    void Count(const std::string& connection, std::int64_t chargedSeconds,
               std::chrono::nanoseconds online);
    // The connection is gone, or the program ends: the spell in progress is written and ended.
    void End();

    const HistoryRecord& record() const { return record_; }
    // The spells as the file holds them with the one in progress brought up to date; the
    // file is read here if no spell has read it yet.
    const std::vector<Spell>& Spells();

private:
    bool load();
    void save();

    const DataFolder& folder_;
    const Clock& clock_;
    Report report_;
    HistoryRecord record_;
    bool loaded_ = false;
    bool usable_ = false;  // read (or absent): may be written
    Spell spell_;
    std::int64_t charged_ = 0;
    std::chrono::nanoseconds online_{0};
    std::chrono::nanoseconds savedAt_{0};  // the spell's on-line time at its last write
    std::string writeError_;               // the failure of the last write, told once
};

// One day of the chart.
struct DayUse {
    LocalDay day{};
    std::int64_t charged = 0;  // seconds
    std::int64_t online = 0;   // seconds
};

// The days days ending with today, oldest first. A spell across midnight is split at it: its
// on-line seconds by the time on each side, its charged seconds in the same proportion (the
// parts add up to the spell's own figures).
std::vector<DayUse> DailyUse(const std::vector<Spell>& spells, LocalDay today, int days = 30);

// Charged seconds today, in the last 7 days (today among them) and in this calendar month.
struct UseTotals {
    std::int64_t today = 0;
    std::int64_t week = 0;
    std::int64_t month = 0;
};
UseTotals TotalsOf(const std::vector<Spell>& spells, LocalDay today);

// When the balance runs out at the average daily charge of the last 7 days (today among
// them). Nothing used in them: no dates. belowMinimum only while the balance is still at or
// above the minimum (it is then the earlier of the two dates).
struct Forecast {
    bool used = false;
    LocalDay empty{};
    std::optional<LocalDay> belowMinimum;
};
Forecast ForecastOf(const std::vector<Spell>& spells, LocalDay today, std::int64_t balanceSeconds,
                    std::int64_t minimumSeconds);

// "14.01.2027"
std::string FormatDay(LocalDay day);

}  // namespace surftally
