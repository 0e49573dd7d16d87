#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <random>

#include "accounting/Globals.h"
#include "accounting/History.h"
#include "accounting/StoredState.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/support/TickRig.h"

namespace surftally {
namespace {

using namespace std::chrono_literals;

// What the strip shows beside its numbers: the display's colours, the status line and its
// colours.
struct Look {
    Colour displayBack;
    Colour displayFront;
    std::string status;
    Colour statusBack;
    Colour statusFront;

    bool operator==(const Look&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Look& l) {
        return out << std::hex << "display " << l.displayBack << "/" << l.displayFront << ", \""
                   << l.status << "\" " << l.statusBack << "/" << l.statusFront;
    }
};

class BalanceTickTest : public ::testing::Test, protected TickRig<> {
protected:
    Look look() const {
        return {view.displayBack, view.displayFront, view.status, view.statusBack,
                view.statusFront};
    }

    void run(int ticks, std::chrono::milliseconds period = 1000ms) {
        for (int i = 0; i < ticks; ++i) {
            clock.advance(period);
            tick.Timer1Timer();
        }
    }

    std::string saved() const { return temp.get("remain.dat"); }
    // Marks the file so that a later test can tell whether the tick wrote it.
    void mark() const { temp.put("remain.dat", "mark\r\n"); }
};

TEST_F(BalanceTickTest, CountsDownOnlineAndSavesAtTheMinuteMark) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(1);
    EXPECT_EQ(view.display, "011:59:59");
    EXPECT_EQ(state.RemainText, "011:59:59");
    EXPECT_EQ(look(), (Look{clYellow, clBlack, "Modem", clMaroon, clWhite}));
    EXPECT_EQ(view.shownIcon, StateIcon::Modem);
    EXPECT_EQ(saved(), "012:00:00\r\n");

    run(58);
    EXPECT_EQ(saved(), "012:00:00\r\n");
    run(1);
    EXPECT_EQ(view.display, "011:59:00");
    EXPECT_EQ(saved(), "011:59:00\r\n");
    EXPECT_GT(view.topmostCalls, 0);
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(BalanceTickTest, LanIsGreenAndShowsTheLanIcon) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kLan);
    run(1);
    EXPECT_EQ(view.status, "LAN Internet");
    EXPECT_EQ(view.statusBack, clGreen);
    EXPECT_EQ(view.shownIcon, StateIcon::Lan);
    EXPECT_EQ(view.display, "011:59:59");
}

TEST_F(BalanceTickTest, GoingOfflineSavesOnceAndShowsTheClock) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(30);
    flags.setOffline();
    run(1);
    EXPECT_EQ(saved(), "011:59:30\r\n");
    EXPECT_EQ(view.display, "12:00:31");
    EXPECT_EQ(look(), (Look{clBlack, clYellow, "Off - Line", clNavy, clYellow}));

    mark();
    run(5);
    EXPECT_EQ(saved(), "mark\r\n");
    EXPECT_EQ(balance(), 11 * 3600 + 59 * 60 + 30);
    EXPECT_EQ(view.shownIcon, StateIcon::OffLine);
}

TEST_F(BalanceTickTest, OfflineClockViewAssertsTopmostEveryTenSeconds) {
    start("012:00:00");
    run(30);
    EXPECT_EQ(view.topmostCalls, 3);
    view.settingsAreHidden = false;
    run(30);
    EXPECT_EQ(view.topmostCalls, 3);
}

TEST_F(BalanceTickTest, ProxyHoldsTheBalanceAndPaintsTheStripGreen) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(10);
    flags.setOnline(ConnectionFlags::kLan | ConnectionFlags::kProxy);
    run(20);
    EXPECT_EQ(saved(), "011:59:50\r\n");
    EXPECT_EQ(view.status, "Proxy");
    EXPECT_EQ(view.statusBack, clGreen);
    EXPECT_EQ(view.statusFront, clWhite);
    EXPECT_EQ(view.displayBack, clBlack);
    EXPECT_EQ(balance(), 11 * 3600 + 59 * 60 + 50);
}

TEST_F(BalanceTickTest, FreezeGivesBackTheSecondsSinceTheMarkAndResumesFromThere) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(30);
    view.freeze = true;
    run(5);
    EXPECT_EQ(view.display, "012:00:00");
    EXPECT_EQ(view.displayBack, clWhite);
    EXPECT_EQ(view.displayFront, clBlue);
    view.freeze = false;
    run(1);
    EXPECT_EQ(view.display, "011:59:59");
    EXPECT_EQ(view.displayBack, clYellow);
}

// One save per minute mark: two runs within the displayed second of the mark, or a freeze
// that holds it, write it once; a run late enough to step over the mark writes what it shows.
TEST_F(BalanceTickTest, EachMinuteMarkIsSavedOnce) {
    start("012:00:01");
    flags.setOnline(ConnectionFlags::kModem);
    std::string writes;
    const auto step = [&](std::chrono::milliseconds period) {
        mark();
        run(1, period);
        writes += saved() == "mark\r\n" ? '-' : 'W';
    };
    step(1000ms);  // 012:00:00
    step(400ms);   // 012:00:00 again
    step(400ms);
    view.freeze = true;
    step(1000ms);
    step(1000ms);
    view.freeze = false;
    step(1000ms);  // 011:59:59
    EXPECT_EQ(writes, "W-----");
    EXPECT_EQ(view.display, "011:59:59");

    run(58);
    step(2000ms);  // 011:59:01 to 011:58:59, past the mark
    EXPECT_EQ(view.display, "011:58:59");
    EXPECT_EQ(saved(), "011:58:59\r\n");
    step(1000ms);
    EXPECT_EQ(writes, "W-----W-");
}

// The failure of a save into a read-only file, as the system numbers it.
std::string readOnlyError() {
#ifdef _WIN32
    return "I/O error 5";  // ERROR_ACCESS_DENIED
#else
    return "I/O error " + std::to_string(EACCES);
#endif
}

// Two different failures need POSIX's numbers: on Windows both read as access denied.
#ifndef _WIN32
// A save that fails ends its run and is tried again at the next minute mark, not at every
// run; the same failure is reported once while it lasts, a different one anew, and one that
// comes back after a save that landed is reported again. The first save that lands again
// lands on a mark.
TEST_F(BalanceTickTest, FailingSaveIsTriedAtEachMarkAndReportedOnceWhileItLasts) {
    namespace fs = std::filesystem;
    const fs::path file = temp.path() / "remain.dat";
    const fs::path blocker = temp.path() / "remain.dat.tmp";
    const auto readOnly = [&](bool on) {
        fs::permissions(file, fs::perms::owner_write,
                        on ? fs::perm_options::remove : fs::perm_options::add);
    };
    const std::string denied = readOnlyError();
    const std::string blocked = "I/O error " + std::to_string(EEXIST);

    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(30);
    readOnly(true);
    run(30);
    EXPECT_EQ(view.display, "011:59:00");
    EXPECT_EQ(view.errors, std::vector<std::string>{denied});

    // A freeze now gives back only what was counted since the failed mark.
    run(15);
    view.freeze = true;
    run(1);
    EXPECT_EQ(view.display, "011:59:00");
    view.freeze = false;

    // Another failure between marks is not met before the next mark: nothing is tried.
    readOnly(false);
    fs::create_directory(blocker);
    run(44);
    EXPECT_EQ(view.display, "011:58:16");
    EXPECT_EQ(view.errors.size(), 1u);
    run(16);
    EXPECT_EQ(view.display, "011:58:00");
    EXPECT_EQ(view.errors, (std::vector<std::string>{denied, blocked}));

    fs::remove(blocker);
    readOnly(true);
    run(120);
    EXPECT_EQ(view.display, "011:56:00");
    EXPECT_EQ(view.errors, (std::vector<std::string>{denied, blocked, denied}));
    EXPECT_EQ(saved(), "012:00:00\r\n");

    // Writable again between marks: the next mark saves, and no run before it.
    run(30);
    readOnly(false);
    run(29);
    EXPECT_EQ(saved(), "012:00:00\r\n");
    run(1);
    EXPECT_EQ(saved(), "011:55:00\r\n");

    readOnly(true);
    run(60);
    EXPECT_EQ(view.errors, (std::vector<std::string>{denied, blocked, denied, denied}));
    EXPECT_EQ(saved(), "011:55:00\r\n");
}

#endif  // _WIN32

// The balance of a dropped connection is never lost to a failed save: every off-line run
// tries it again, reporting the failure once and showing the clock meanwhile, until it lands.
TEST_F(BalanceTickTest, FailingOfflineSaveIsTriedUntilItLands) {
    namespace fs = std::filesystem;
    const fs::path file = temp.path() / "remain.dat";
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(30);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    flags.setOffline();
    run(5);
    EXPECT_EQ(view.errors, std::vector<std::string>{readOnlyError()});
    EXPECT_EQ(view.display, "12:00:35");
    EXPECT_EQ(saved(), "012:00:00\r\n");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    run(1);
    EXPECT_EQ(saved(), "011:59:30\r\n");
    mark();
    run(5);
    EXPECT_EQ(saved(), "mark\r\n");
    EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(BalanceTickTest, AlarmColourFollowsOneRunLate) {
    start("012:00:00", "12");
    flags.setOnline(ConnectionFlags::kModem);
    run(1);
    EXPECT_EQ(view.display, "011:59:59");
    EXPECT_EQ(view.displayBack, clYellow);
    run(1);
    EXPECT_EQ(view.displayBack, clRed);
    EXPECT_EQ(view.displayFront, clWhite);
}

TEST_F(BalanceTickTest, GreenHoverHoldEndsAfterThreeQuietTicks) {
    start("012:00:00");
    state.HoverHold = true;
    view.setDisplayColours(clGreen, clWhite);
    view.display = "012:00:00";
    run(2);
    EXPECT_EQ(view.display, "012:00:00");
    run(1);
    EXPECT_FALSE(state.HoverHold);
    EXPECT_EQ(view.display, "12:00:03");
}

TEST_F(BalanceTickTest, DeletedBalanceFileClosesWithoutWritingItBack) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(10);
    std::filesystem::remove(temp.path() / "remain.dat");
    flags.setOffline();
    run(1);
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "remain.dat"));
}

TEST_F(BalanceTickTest, RunOutBalanceStopsAtZero) {
    start("000:00:02");
    flags.setOnline(ConnectionFlags::kModem);
    run(5);
    EXPECT_EQ(view.display, "000:00:00");
    EXPECT_EQ(saved(), "000:00:00\r\n");
    flags.setOffline();
    run(1);
    EXPECT_EQ(saved(), "000:00:00\r\n");
}

// Elapsed time is measured on the monotonic clock: setting the time of day, a daylight-saving
// shift or midnight neither charges nor refunds.
TEST_F(BalanceTickTest, TimeOfDayJumpsNeitherChargeNorRefund) {
    for (const auto jump : {1h, -1h, -5h}) {
        SCOPED_TRACE(jump.count());
        state = SharedState{};
        start("012:00:00");
        flags.setOnline(ConnectionFlags::kModem);
        run(10);
        clock.setTimeOfDay(clock.timeOfDay() + 24h + jump);
        run(10);
        EXPECT_EQ(view.display, "011:59:40");
        flags.setOffline();
        run(1);
        EXPECT_EQ(saved(), "011:59:40\r\n");
    }
}

TEST_F(BalanceTickTest, MidnightChargesTheWholeTwentySeconds) {
    clock.setTimeOfDay(23h + 59min + 50s);
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(20);
    EXPECT_EQ(view.display, "011:59:40");
}

// The base moves by exactly what the saved balance accounts for: neither the part of a second
// past the mark nor the part the discount truncates is lost.
TEST_F(BalanceTickTest, ChargedTimeMatchesRealTimeWhateverThePeriod) {
    struct Case {
        int periodMs;
        const char* economic;
        int percent;
    };
    for (const Case c :
         {Case{950, "00:00\r\n00:00\r\n0\r\n", 0}, Case{1050, "00:00\r\n00:00\r\n0\r\n", 0},
          Case{1016, "00:00\r\n23:59\r\n50\r\n", 50}, Case{999, "00:00\r\n23:59\r\n50\r\n", 50}}) {
        SCOPED_TRACE(c.periodMs);
        state = SharedState{};
        clock.setTimeOfDay(1h);
        start("100:00:00", "2", c.economic);
        flags.setOnline(ConnectionFlags::kModem);
        std::mt19937 jitter(static_cast<unsigned>(c.periodMs));
        std::chrono::nanoseconds real{0};
        while (real < 2h) {
            const auto step =
                std::chrono::milliseconds(c.periodMs + static_cast<int>(jitter() % 16));
            real += step;
            clock.advance(step);
            tick.Timer1Timer();
        }
        const double expected =
            std::chrono::duration<double>(real).count() * (100 - c.percent) / 100.0;
        const double charged = 100.0 * 3600 - static_cast<double>(balance());
        EXPECT_NEAR(charged, expected, 1.0);
        EXPECT_NEAR(100.0 * 3600 - BalanceToSeconds(saved()), expected, 61.0);
    }
}

TEST_F(BalanceTickTest, DiscountTruncatesButCarriesTheRemainder) {
    start("012:00:00", "2", "00:00\r\n23:59\r\n50\r\n");
    flags.setOnline(ConnectionFlags::kModem);
    run(2);
    EXPECT_EQ(view.display, "011:59:59");
    run(1);
    EXPECT_EQ(view.display, "011:59:59");
    run(1);
    EXPECT_EQ(view.display, "011:59:58");
}

TEST_F(BalanceTickTest, EconomicPeriodAcrossMidnightDiscountsBothSides) {
    struct Case {
        std::chrono::milliseconds at;
        const char* economic;
        const char* shown;  // after 4 s on-line
    };
    for (const Case c : {Case{23h, "22:00\r\n06:00\r\n50\r\n", "011:59:58"},
                         Case{3h, "22:00\r\n06:00\r\n50\r\n", "011:59:58"},
                         Case{12h, "22:00\r\n06:00\r\n50\r\n", "011:59:56"},
                         Case{12h, "08:00\r\n18:00\r\n50\r\n", "011:59:58"},
                         Case{12h, "12:00\r\n12:00\r\n50\r\n", "011:59:56"},
                         // out of range: neither refunds nor overcharges
                         Case{12h, "08:00\r\n18:00\r\n500\r\n", "012:00:00"},
                         Case{12h, "08:00\r\n18:00\r\n-20\r\n", "011:59:56"}}) {
        SCOPED_TRACE(std::string(c.economic) + " at " + std::to_string(c.at.count()));
        state = SharedState{};
        clock.setTimeOfDay(c.at);
        start("012:00:00", "2", c.economic);
        flags.setOnline(ConnectionFlags::kModem);
        run(4);
        EXPECT_EQ(view.display, c.shown);
    }
}

// Two empty texts are as malformed as any others.
TEST_F(BalanceTickTest, MalformedEconomicPeriodGivesNoDiscountAndIsReportedOnce) {
    for (const char* economic : {"25:00\r\n06:00\r\n50\r\n", "\r\n\r\n50\r\n"}) {
        SCOPED_TRACE(economic);
        state = SharedState{};
        view.errors.clear();
        start("012:00:00", "2", economic);
        flags.setOnline(ConnectionFlags::kModem);
        run(4);
        EXPECT_EQ(view.display, "011:59:56");
        ASSERT_EQ(view.errors.size(), 1u);
        EXPECT_NE(view.errors[0].find("is not a valid integer value"), std::string::npos);
        flags.setOffline();
        run(2);
        flags.setOnline(ConnectionFlags::kModem);
        run(2);
        EXPECT_EQ(view.errors.size(), 1u);
    }
}

TEST_F(BalanceTickTest, MissingIconIsReportedOnceAndNeverStopsTheTick) {
    start("012:00:00");
    view.missingIcons = {StateIcon::Modem, StateIcon::OffLine};
    flags.setOnline(ConnectionFlags::kModem);
    run(60);
    EXPECT_EQ(view.display, "011:59:00");
    EXPECT_EQ(saved(), "011:59:00\r\n");
    run(5);
    flags.setOffline();
    run(5);
    EXPECT_EQ(saved(), "011:58:55\r\n");
    EXPECT_EQ(view.display, "12:01:10");
    ASSERT_EQ(view.errors.size(), 2u);
    EXPECT_EQ(view.errors[0], "Cannot open file MODEM.ico");
    EXPECT_EQ(view.errors[1], "Cannot open file Off-Line.ico");

    // Found again, then lost again: reported anew.
    view.missingIcons.clear();
    run(1);
    view.missingIcons = {StateIcon::OffLine};
    run(3);
    EXPECT_EQ(view.errors.size(), 3u);
}

TEST_F(BalanceTickTest, OnlyABalanceTextReachesTheFile) {
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    view.missingIcons = {StateIcon::Modem};
    run(1);
    // Whatever the display last held, the drop saves the counted balance.
    state.ShownText = "12:00:01";
    flags.setOffline();
    run(1);
    EXPECT_EQ(saved(), "011:59:59\r\n");
}

TEST_F(BalanceTickTest, UnreadableBalanceIsNeverOverwrittenUntilTheUserSetsOne) {
    start("12:00:00");
    EXPECT_FALSE(state.BalanceKnown);
    flags.setOnline(ConnectionFlags::kModem);
    run(70);
    flags.setOffline();
    run(2);
    EXPECT_EQ(saved(), "12:00:00\r\n");

    RebaseBalance(state, clock, 3600);
    flags.setOnline(ConnectionFlags::kModem);
    run(3);
    EXPECT_EQ(view.display, "000:59:57");
    flags.setOffline();
    run(1);
    EXPECT_EQ(saved(), "000:59:57\r\n");
}

// history.dat: one line per on-line spell, brought up to date each minute on-line.
TEST_F(BalanceTickTest, EachSpellIsOneHistoryLineWrittenEachMinuteAndAtItsEnd) {
    start("012:00:00");
    clock.setTimeOfDay(23h + 59min + 30s);  // 9 December, half a minute before midnight
    flags.setOnline(ConnectionFlags::kModem);
    run(59);
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "history.dat"));
    run(1);
    // A crash now loses at most the minute to come.
    EXPECT_EQ(temp.get("history.dat"), "2026-12-09 23:59:30;2026-12-10 00:00:30;Modem;60;60\r\n");
    run(30);
    flags.setOffline();
    run(1);
    EXPECT_EQ(temp.get("history.dat"), "2026-12-09 23:59:30;2026-12-10 00:01:00;Modem;90;90\r\n");

    // The next spell is a line of its own; the discount and a freeze charge less than the
    // time on-line.
    temp.put("economic.dat", "00:00\r\n23:59\r\n50\r\n");
    ReadStoredState(state, folder, clock, 768);
    flags.setOnline(ConnectionFlags::kLan);
    run(20);
    view.freeze = true;
    run(20);
    view.freeze = false;
    run(20);
    flags.setOffline();
    run(1);
    // 20 s at half price, given back by the freeze, then 20 s more at half price.
    const std::string file = temp.get("history.dat");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2),
              "2026-12-10 00:01:01;2026-12-10 00:02:01;LAN Internet;10;60\r\n");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(BalanceTickTest, HistoryKeepsWhatItCannotReadAndWhatTheUserSetIsNotCharged) {
    temp.put("history.dat",
             "not a spell\r\n2026-12-01 10:00:00;2026-12-01 11:00:00;Modem;3600;3600\r\n");
    start("012:00:00");
    flags.setOnline(ConnectionFlags::kModem);
    run(10);
    RebaseBalance(state, clock, 20 * 3600);  // the user types a higher balance
    run(50);
    tick.SaveCounted();  // the program ends on-line
    const std::string file = temp.get("history.dat");
    EXPECT_EQ(
        file.rfind("not a spell\r\n2026-12-01 10:00:00;2026-12-01 11:00:00;Modem;3600;3600\r\n", 0),
        0u);
    EXPECT_NE(file.find(";Modem;60;60\r\n"), std::string::npos) << file;
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("'not a spell'"), std::string::npos);
}

}  // namespace
}  // namespace surftally
