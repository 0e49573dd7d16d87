#pragma once

#include "accounting/History.h"
#include "accounting/SharedState.h"
#include "accounting/TickView.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace surftally {

class Clock;
class ConnectionFlags;
class DataFolder;
class TickView;

// The once-a-second heart of the program: probes the connection, counts the balance down
// while on-line (less the economic discount), holds it off-line, saves it at minute marks
// and when the connection drops, and paints the display and the status strip.
// Makes seconds the new base balance from now on (the user edited the balance): nothing
// counted so far is charged against it.
void RebaseBalance(SharedState& state, const Clock& clock, std::int32_t seconds);

class BalanceTick {
public:
    BalanceTick(SharedState& state, const Clock& clock, ConnectionFlags& flags,
                const DataFolder& folder, TickView& view);

    void Timer1Timer();

    // The balance counted up to this moment: on-line (unless frozen) the time since the last
    // run is charged now, as the next run would charge it.
    std::int32_t CountedBalance();
    // The program ends in an orderly way: saves the counted balance as the tick would, unless
    // the balance was never known or its file is gone. A failed save is reported.
    void SaveCounted();

    SpellHistory& history() { return history_; }

private:
    void offline();
    void online();
    void paintStatus();
    // Charges the time up to now; frozen, the balance goes back to the base. Gives whether
    // the balance is frozen.
    bool countUntilNow();
    // Charges the on-line time since the last run, less the discount inside the economic period.
    void charge();
    // Writes the balance to remain.dat, unless the balance was never known. Gives false when
    // the write failed; the same failure is reported once while it lasts.
    bool saveBalance(const std::string& text);
    // The balance becomes the base at the moment now: the whole seconds it accounts for leave
    // ChargedTime, the part of a second beyond them stays.
    void moveBase(std::int32_t balance, std::chrono::nanoseconds now);
    // Loads and shows a state's icon; a missing file is reported once while it stays missing.
    void showIcon(StateIcon icon);
    bool inEconomicPeriod(std::chrono::milliseconds timeOfDay);
    // Gives the spell in progress what the balance lost since the last run, and the time.
    void countSpell();

    SharedState& state_;
    const Clock& clock_;
    ConnectionFlags& flags_;
    const DataFolder& folder_;
    TickView& view_;

    std::array<bool, 3> iconMissing_{};
    std::string reportedPeriod_;  // the malformed economic period last reported
    std::string saveError_;       // the failure of the last balance save; empty after one lands
    std::string existError_;      // the failure of the last existence test of the balance file
    bool online_ = false;         // the last run found the computer on-line
    std::chrono::nanoseconds lastRun_{-1};  // when the last run counted or held
    std::int32_t spellBalance_ = 0;         // the balance the last run left
    std::uint32_t seenEdits_ = 0;           // the user's balance edits seen by the last run
    SpellHistory history_;
};

}  // namespace surftally
