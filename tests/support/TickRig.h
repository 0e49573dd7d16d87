#pragma once

#include <string>
#include <utility>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/TempFolder.h"

namespace surftally {

// The balance tick as the strip runs it, without a window: a seeded data folder, fake
// connection flags, a view that records what it is shown, and a clock (a fake one unless a
// test gives a platform clock over fake sources).
template <class ClockType = FakeClock>
class TickRig {
public:
    template <class... ClockArgs>
    explicit TickRig(TempFolder::Place place = TempFolder::Place::Disk, ClockArgs&&... clockArgs)
        : temp(place), clock(std::forward<ClockArgs>(clockArgs)...) {
        temp.seedDefaults();
        ConnectionText.clear();
    }

    // Starts the program with this balance, minimum and economic period; the error it
    // reports, empty when the folder read well.
    std::string start(const std::string& balance, const std::string& alarm = "2",
                      const std::string& economic = "00:00\r\n00:00\r\n0\r\n") {
        temp.put("remain.dat", balance + "\r\n");
        temp.put("alarm.dat", alarm + "\r\n");
        temp.put("economic.dat", economic);
        return ReadStoredState(state, folder, clock, 768).error;
    }

    // The balance in seconds the tick holds now.
    std::int64_t balance() const { return std::int64_t{state.BaseSeconds} - state.SecondsUsed; }

    TempFolder temp;
    DataFolder folder{temp.path()};
    ClockType clock;
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    BalanceTick tick{state, clock, flags, folder, view};
};

}  // namespace surftally
