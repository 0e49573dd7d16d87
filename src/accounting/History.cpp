#include "accounting/History.h"

#include <algorithm>
#include <cstdio>

#include "platform/Clock.h"
#include "store/DataFolder.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

using std::chrono::days;
using std::chrono::seconds;

// Exactly width decimal digits.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// A whole number of seconds: 1 to 12 digits, nothing else.
std::optional<std::int64_t> count(std::string_view text) {
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

LocalDay dayOf(LocalTime time) {
    return std::chrono::floor<days>(time);
}

// The share of total that the first part seconds of a span of span seconds carry, rounded
// down, so that the shares of consecutive parts add up to total.
std::int64_t share(std::int64_t total, std::int64_t part, std::int64_t span) {
    return static_cast<std::int64_t>(static_cast<__int128>(total) * part / span);
}

}  // namespace

std::string FormatLocalTime(LocalTime time) {
    const LocalDay day = dayOf(time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::optional<LocalTime> ParseLocalTime(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2),
               second = digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *hour > 23 || *minute > 59 ||
        *second > 59) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return LocalDay{date} + std::chrono::hours{*hour} + std::chrono::minutes{*minute} +
           seconds{*second};
}

std::string FormatSpell(const Spell& spell) {
    return FormatLocalTime(spell.start) + ';' + FormatLocalTime(spell.end) + ';' +
           spell.connection + ';' + std::to_string(spell.charged) + ';' +
           std::to_string(spell.online);
}

std::optional<Spell> ParseSpell(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t semicolon = line.find(';', from);
        fields.push_back(line.substr(from, semicolon - from));
        if (semicolon == std::string_view::npos) {
            break;
        }
        from = semicolon + 1;
    }
    if (fields.size() != 5 || fields[2].empty()) {
        return std::nullopt;
    }
    for (unsigned char c : fields[2]) {
        if (c < 0x20) {
            return std::nullopt;
        }
    }
    const auto start = ParseLocalTime(fields[0]), end = ParseLocalTime(fields[1]);
    const auto charged = count(fields[3]), online = count(fields[4]);
    // The end may stand before the start by the hour a clock goes back in autumn, no more.
    if (!start || !end || !charged || !online || *charged > *online ||
        *end < *start - std::chrono::hours{1}) {
        return std::nullopt;
    }
    return Spell{*start, *end, std::string(fields[2]), *charged, *online};
}

HistoryRecord::HistoryRecord(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.empty()) {
            continue;  // the end of the file, or a blank line: nothing to keep
        }
        if (auto spell = ParseSpell(line)) {
            entries_.push_back({spells_.size(), {}, true});
            spells_.push_back(std::move(*spell));
        } else {
            entries_.push_back({0, line, false});
        }
    }
}

std::vector<std::string> HistoryRecord::unreadable() const {
    std::vector<std::string> lines;
    for (const Entry& entry : entries_) {
        if (!entry.isSpell) {
            lines.push_back(entry.kept);
        }
    }
    return lines;
}

void HistoryRecord::Begin(const Spell& spell) {
    entries_.push_back({spells_.size(), {}, true});
    spells_.push_back(spell);
    inProgress_ = true;
}

void HistoryRecord::Update(const Spell& spell) {
    if (!inProgress_) {
        Begin(spell);
        return;
    }
    spells_.back() = spell;
}

void HistoryRecord::Cut(LocalTime now) {
    const LocalTime oldest = now - kHistoryKept;
    std::vector<Entry> entries;
    std::vector<Spell> spells;
    for (const Entry& entry : entries_) {
        if (!entry.isSpell) {
            entries.push_back(entry);
            continue;
        }
        const Spell& spell = spells_[entry.spell];
        const bool current = inProgress_ && entry.spell + 1 == spells_.size();
        if (current || spell.end >= oldest) {
            entries.push_back({spells.size(), {}, true});
            spells.push_back(spell);
        }
    }
    entries_ = std::move(entries);
    spells_ = std::move(spells);
}

std::vector<std::string> HistoryRecord::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        lines.push_back(entry.isSpell ? FormatSpell(spells_[entry.spell]) : entry.kept);
    }
    return lines;
}

namespace {

constexpr std::string_view kHistoryFile = DataFile::History;
// More lines than 400 days of spells ever need; a longer file is read only this far.
constexpr std::size_t kMostLines = 1'000'000;

}  // namespace

SpellHistory::SpellHistory(const DataFolder& folder, const Clock& clock, Report report)
    : folder_(folder), clock_(clock), report_(std::move(report)) {}

bool SpellHistory::load() {
    if (loaded_) {
        return usable_;
    }
    loaded_ = true;
    try {
        if (folder_.FileExists(kHistoryFile)) {
            std::vector<std::string> lines = folder_.ReadLinesUpTo(kHistoryFile, kMostLines);
            while (!lines.empty() && lines.back().empty()) {
                lines.pop_back();
            }
            record_ = HistoryRecord(lines);
        }
        usable_ = true;
    } catch (const StoreError& e) {
        // Not written this run: what cannot be read is never replaced.
        report_(std::string(kHistoryFile) + ": " + e.what());
        return false;
    }
    if (const auto unreadable = record_.unreadable(); !unreadable.empty()) {
        // Told once, with the first such line; each stays in the file as it is.
        report_(std::string(kHistoryFile) + ": '" + ConvertError::shown(unreadable.front()) +
                "' is not a valid history line");
    }
    return true;
}

void SpellHistory::save() {
    savedAt_ = online_;
    record_.Cut(clock_.localDateTime());
    try {
        folder_.WriteLines(kHistoryFile, record_.Lines());
        writeError_.clear();
    } catch (const StoreError& e) {
        if (writeError_ != e.what()) {
            writeError_ = e.what();
            report_(std::string(kHistoryFile) + ": " + writeError_);
        }
    }
}

void SpellHistory::Count(const std::string& connection, std::int64_t chargedSeconds,
                         std::chrono::nanoseconds online) {
    if (!load()) {
        return;
    }
    const LocalTime now = clock_.localDateTime();
    if (record_.inProgress() && spell_.connection != connection) {
        End();
    }
    if (!record_.inProgress()) {
        // The spell began when the time this run counts began.
        const LocalTime start = now - std::chrono::floor<std::chrono::seconds>(
                                          std::max(online, std::chrono::nanoseconds{0}));
        spell_ = Spell{start, now, connection, 0, 0};
        charged_ = 0;
        online_ = std::chrono::nanoseconds{0};
        savedAt_ = online_;
        record_.Begin(spell_);
    }
    charged_ = std::max<std::int64_t>(0, charged_ + chargedSeconds);
    online_ += std::max(online, std::chrono::nanoseconds{0});
    spell_.end = now;
    spell_.online = std::chrono::duration_cast<std::chrono::seconds>(online_).count();
    // Whole seconds charged never exceed whole seconds on-line, whatever fraction of a second
    // the balance carried into the spell.
    spell_.charged = std::min(charged_, spell_.online);
    record_.Update(spell_);
    if (online_ - savedAt_ >= std::chrono::minutes{1}) {
        save();
    }
}

const std::vector<Spell>& SpellHistory::Spells() {
    load();
    return record_.spells();
}

void SpellHistory::End() {
    if (!record_.inProgress()) {
        return;
    }
    save();
    record_.End();
}

std::vector<DayUse> DailyUse(const std::vector<Spell>& spells, LocalDay today, int count) {
    std::vector<DayUse> result;
    if (count <= 0) {
        return result;
    }
    const LocalDay first = today - days{count - 1};
    for (int i = 0; i < count; ++i) {
        result.push_back({first + days{i}, 0, 0});
    }
    for (const Spell& spell : spells) {
        const std::int64_t span = std::max<std::int64_t>(0, (spell.end - spell.start).count());
        if (span == 0) {
            // Within one second, or a clock set back: all on the day it began.
            const LocalDay day = dayOf(spell.start);
            if (day >= first && day <= today) {
                DayUse& use = result[static_cast<std::size_t>((day - first).count())];
                use.charged += spell.charged;
                use.online += spell.online;
            }
            continue;
        }
        const LocalDay from = std::max(dayOf(spell.start), first);
        const LocalDay to = std::min(dayOf(spell.end), today);
        for (LocalDay day = from; day <= to; day += days{1}) {
            const std::int64_t before =
                std::clamp<std::int64_t>((LocalTime{day} - spell.start).count(), 0, span);
            const std::int64_t upTo =
                std::clamp<std::int64_t>((LocalTime{day + days{1}} - spell.start).count(), 0, span);
            DayUse& use = result[static_cast<std::size_t>((day - first).count())];
            use.charged += share(spell.charged, upTo, span) - share(spell.charged, before, span);
            use.online += share(spell.online, upTo, span) - share(spell.online, before, span);
        }
    }
    return result;
}

UseTotals TotalsOf(const std::vector<Spell>& spells, LocalDay today) {
    const unsigned dayOfMonth = static_cast<unsigned>(std::chrono::year_month_day{today}.day());
    const int span = std::max(7, static_cast<int>(dayOfMonth));
    const std::vector<DayUse> use = DailyUse(spells, today, span);
    UseTotals totals;
    for (int i = 0; i < span; ++i) {
        const int age = span - 1 - i;  // days before today
        const std::int64_t charged = use[static_cast<std::size_t>(i)].charged;
        totals.today += age == 0 ? charged : 0;
        totals.week += age < 7 ? charged : 0;
        totals.month += age < static_cast<int>(dayOfMonth) ? charged : 0;
    }
    return totals;
}

Forecast ForecastOf(const std::vector<Spell>& spells, LocalDay today, std::int64_t balanceSeconds,
                    std::int64_t minimumSeconds) {
    const std::int64_t week = TotalsOf(spells, today).week;
    Forecast forecast;
    if (week <= 0) {
        return forecast;
    }
    forecast.used = true;
    // At week / 7 seconds a day, x seconds last 7x / week whole days more.
    const auto daysFor = [week](std::int64_t left) {
        return days{static_cast<int>(std::min<__int128>(
            static_cast<__int128>(std::max<std::int64_t>(left, 0)) * 7 / week, 3'000'000))};
    };
    forecast.empty = today + daysFor(balanceSeconds);
    if (minimumSeconds > 0 && balanceSeconds >= minimumSeconds) {
        forecast.belowMinimum = today + daysFor(balanceSeconds - minimumSeconds);
    }
    return forecast;
}

std::string FormatDay(LocalDay day) {
    const std::chrono::year_month_day date{day};
    char text[24];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

}  // namespace surftally
