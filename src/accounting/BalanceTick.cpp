#include "accounting/BalanceTick.h"

#include <algorithm>
#include <limits>

#include "accounting/ConnectionProbe.h"
#include "accounting/Globals.h"
#include "platform/Clock.h"
#include "platform/ConnectionFlags.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

constexpr auto kDay = std::chrono::duration_cast<milliseconds>(std::chrono::hours(24));

// The time of day as "hh:mm:ss".
std::string ClockText(milliseconds timeOfDay) {
    const auto total = static_cast<std::int32_t>((timeOfDay.count() / 1000) % 86400);
    return ZeroPadded(total / 3600, 2) + ":" + ZeroPadded(total / 60 % 60, 2) + ":" +
           ZeroPadded(total % 60, 2);
}

std::size_t IconIndex(StateIcon icon) {
    return static_cast<std::size_t>(icon);
}

}  // namespace

void RebaseBalance(SharedState& state, const Clock& clock, std::int32_t seconds) {
    const nanoseconds now = clock.monotonic();
    state.BaseSeconds = seconds;
    ++state.BalanceEdits;
    state.BaseTime = now;
    state.ElapsedTime = nanoseconds{0};
    state.ChargedTime = nanoseconds{0};
    state.SecondsUsed = 0;
    state.BalanceKnown = true;
}

BalanceTick::BalanceTick(SharedState& state, const Clock& clock, ConnectionFlags& flags,
                         const DataFolder& folder, TickView& view)
    : state_(state),
      clock_(clock),
      flags_(flags),
      folder_(folder),
      view_(view),
      history_(folder, clock, [this](const std::string& text) { view_.reportError(text); }) {}

void BalanceTick::Timer1Timer() {
    try {
        // Only a balance file that is confirmed gone ends the program. A folder that cannot
        // be looked at (a dropped share, a changed permission) is reported once while the
        // failure lasts, and the tick goes on.
        bool missing = false;
        try {
            missing = folder_.BalanceMissing();
            existError_.clear();
        } catch (const StoreError& e) {
            if (existError_ != e.what()) {
                existError_ = e.what();
                view_.reportError(existError_);
            }
        }
        if (missing) {
            // The user removed the balance: end the program, and write nothing that would
            // bring the file back.
            view_.closeWindow();
            return;
        }

        // The hover hold view of the stored balance lasts about three seconds without a
        // mouse move; a red hold lasts until the mouse leaves.
        if (view_.displayBackground() == clGreen) {
            if (++state_.HoldTicks > 2) {
                state_.HoldTicks = 0;
                state_.HoverHold = false;
            }
        }

        if (ConnectionText == Connection::OffLine) {
            showIcon(StateIcon::OffLine);
        }

        const bool result = ProbeConnection(flags_, ConnectionText);
        try {
            if (IsOnline(result, ConnectionText)) {
                online();
            } else {
                offline();
            }
        } catch (const StoreError& e) {
            view_.reportError(e.what());
        }
        paintStatus();
    } catch (const StoreError& e) {
        view_.reportError(e.what());
    }
}

void BalanceTick::offline() {
    online_ = false;
    const nanoseconds now = clock_.monotonic();
    lastRun_ = now;
    spellBalance_ = state_.balanceSeconds();
    seenEdits_ = state_.BalanceEdits;
    history_.End();
    state_.BaseTime = now;
    state_.ElapsedTime = nanoseconds{0};

    if (!state_.OfflineSaved) {
        // The connection dropped since the last on-line run: keep the balance it counted. A
        // save that fails is tried again by every off-line run until one lands, so that the
        // balance is never lost, and the clock view goes on meanwhile.
        const std::int32_t balance = state_.balanceSeconds();
        moveBase(balance, now);
        state_.OfflineSaved = saveBalance(SecondsToBalance(balance));
    }

    if (!state_.HoverHold) {
        view_.setStatusText(ConnectionText);
        state_.ShownText = ClockText(clock_.timeOfDay());
        view_.setDisplayColours(clBlack, clYellow);
        view_.setDisplayText(state_.ShownText);
        if (view_.settingsHidden()) {
            // In the clock view the window asserts its place every ten seconds.
            const std::string fresh = ClockText(clock_.timeOfDay());
            if (fresh[7] == '0' && view_.windowVisible()) {
                view_.makeTopmost();
            }
        }
    }
}

void BalanceTick::online() {
    online_ = true;
    view_.setStatusText(ConnectionText);
    state_.HoverHold = false;
    state_.OfflineSaved = false;

    if (ConnectionText == Connection::Lan) {
        showIcon(StateIcon::Lan);
    } else {
        showIcon(StateIcon::Modem);
    }

    // The alarm colour follows the hours of the previous run.
    if (state_.HoursLeft < state_.AlarmHours) {
        view_.setDisplayColours(clRed, clWhite);
    } else {
        view_.setDisplayColours(clYellow, clBlack);
    }

    if (countUntilNow()) {
        view_.setDisplayColours(clWhite, clBlue);
    }
    countSpell();

    const std::int32_t balance = state_.balanceSeconds();
    state_.HoursLeft = balance / 3600;
    state_.MinutesLeft = balance / 60 % 60;
    state_.SecondsLeft = balance % 60;
    state_.HoursText = ZeroPadded(state_.HoursLeft, 3);
    state_.MinutesText = ZeroPadded(state_.MinutesLeft, 2);
    state_.SecondsText = ZeroPadded(state_.SecondsLeft, 2);
    state_.ShownText = state_.HoursText + ":" + state_.MinutesText + ":" + state_.SecondsText;

    view_.setDisplayText(state_.ShownText);
    state_.RemainText = state_.ShownText;

    // Minute mark: the balance shows a new mark's "00" seconds, or a run late enough stepped
    // over one without showing it; either way each mark is saved once. The base moves to the
    // mark whatever the save gives, so a failed save is tried again at the next mark, and a
    // freeze never gives back more than was counted since the last mark.
    if (!state_.MinuteSaved()) {
        moveBase(balance, state_.NowTime);
        if (!saveBalance(state_.ShownText)) {
            return;  // a failure ends the run
        }
    }

    if (view_.settingsHidden() && view_.windowVisible()) {
        view_.makeTopmost();
    }
}

bool BalanceTick::countUntilNow() {
    state_.NowTime = clock_.monotonic();
    const bool frozen = view_.freezeChecked();
    if (frozen) {
        // Frozen: the balance stays at the last base, giving back what was counted since.
        state_.BaseTime = state_.NowTime;
        state_.ElapsedTime = nanoseconds{0};
        state_.ChargedTime = nanoseconds{0};
    }
    charge();
    return frozen;
}

std::int32_t BalanceTick::CountedBalance() {
    if (online_) {
        countUntilNow();
    }
    return state_.balanceSeconds();
}

void BalanceTick::SaveCounted() {
    if (!state_.BalanceKnown) {
        return;
    }
    try {
        if (folder_.BalanceMissing()) {
            return;  // removed by the user, who ends the program that way
        }
    } catch (const StoreError&) {
        // The folder cannot be looked at; the save below says whether it can be written.
    }
    if (online_) {
        const std::int32_t counted = CountedBalance();
        saveBalance(SecondsToBalance(counted));
        countSpell();
        history_.End();
    } else if (!state_.OfflineSaved) {
        state_.OfflineSaved = saveBalance(SecondsToBalance(state_.balanceSeconds()));
    }
}

void BalanceTick::countSpell() {
    const nanoseconds now = state_.NowTime;
    const std::int32_t balance = state_.balanceSeconds();
    // What the balance lost since the last run (less when a freeze gave some back); since
    // the user set it, what it lost since then.
    const bool continued = lastRun_ >= nanoseconds{0} && seenEdits_ == state_.BalanceEdits;
    const std::int64_t charged =
        std::int64_t{continued ? spellBalance_ : state_.BaseSeconds} - balance;
    // The first run of the program counts from its start, as the balance does.
    const nanoseconds online = now - (lastRun_ < nanoseconds{0} ? state_.BaseTime : lastRun_);
    lastRun_ = now;
    spellBalance_ = balance;
    seenEdits_ = state_.BalanceEdits;
    history_.Count(ConnectionText, charged, online);
}

void BalanceTick::charge() {
    const nanoseconds now = state_.NowTime;
    const nanoseconds chargedUntil = state_.BaseTime + state_.ElapsedTime;
    nanoseconds delta = std::max(now - chargedUntil, nanoseconds{0});
    state_.ElapsedTime = now - state_.BaseTime;
    if (inEconomicPeriod(clock_.timeOfDay())) {
        // A discount read from a file outside 0..100 neither refunds nor overcharges.
        const std::int64_t percent = std::clamp(state_.DiscountPercent, 0, 100);
        delta = nanoseconds{delta.count() * (100 - percent) / 100};
    }
    state_.ChargedTime += delta;
    state_.SecondsUsed = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::chrono::duration_cast<seconds>(state_.ChargedTime).count(),
                               std::numeric_limits<std::int32_t>::max()));
}

bool BalanceTick::inEconomicPeriod(milliseconds timeOfDay) {
    try {
        state_.EconomicBeginTime = seconds{TimeTextToSeconds(state_.EconomicBeginText)};
        state_.EconomicEndTime = seconds{TimeTextToSeconds(state_.EconomicEndText)};
        reportedPeriod_.clear();
    } catch (const ConvertError& e) {
        // A malformed period, two empty texts included, gives no discount; it is reported
        // once, not every second, and again only when the texts change.
        const std::string both = state_.EconomicBeginText + "\n" + state_.EconomicEndText;
        if (both != reportedPeriod_) {
            reportedPeriod_ = both;
            view_.reportError(e.what());
        }
        return false;
    }
    const milliseconds b = state_.EconomicBeginTime;
    const milliseconds e = state_.EconomicEndTime;
    const milliseconds t = timeOfDay % kDay;
    if (b < e) {
        return t > b && t < e;
    }
    if (b > e) {
        // The period spans midnight.
        return t > b || t < e;
    }
    return false;
}

bool BalanceTick::saveBalance(const std::string& text) {
    // A balance read from nothing is never written over the file the user still has.
    if (!state_.BalanceKnown || !IsBalanceText(text)) {
        return true;
    }
    try {
        folder_.WriteBalance(text);
        saveError_.clear();
        return true;
    } catch (const StoreError& e) {
        // A full or read-only disk fails every save until it is mended: tell it once, and
        // again only when the failure changes or comes back after a save that landed.
        if (saveError_ != e.what()) {
            saveError_ = e.what();
            view_.reportError(saveError_);
        }
        return false;
    }
}

void BalanceTick::moveBase(std::int32_t balance, nanoseconds now) {
    state_.ChargedTime -= seconds{state_.SecondsUsed};
    state_.SecondsUsed = 0;
    state_.BaseSeconds = balance;
    state_.BaseTime = now;
    state_.ElapsedTime = nanoseconds{0};
}

void BalanceTick::showIcon(StateIcon icon) {
    bool& missing = iconMissing_[IconIndex(icon)];
    try {
        view_.showIcon(icon);
        missing = false;
    } catch (const StoreError& e) {
        if (!missing) {
            missing = true;
            view_.reportError(e.what());
        }
    }
}

void BalanceTick::paintStatus() {
    const std::string text = view_.statusText();
    if (text == Connection::OffLine) {
        view_.setStatusColours(clNavy, clYellow);
    } else {
        view_.setStatusColours(text == Connection::Modem ? clMaroon : clGreen, clWhite);
    }
}

}  // namespace surftally
