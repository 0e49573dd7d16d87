#include "StoredState.h"

#include "Clock.h"
#include "Conversions.h"
#include "DataFolder.h"
#include "Globals.h"
#include "StoreErrors.h"

namespace surftally {

StoredStateResult ReadStoredState(SharedState& state, const DataFolder& folder, const Clock& clock,
                                  int screenHeight) {
    StoredStateResult result;
    try {
        const auto position = folder.ReadLines("position.dat", 2);
        state.LeftText = position[0];
        state.TopText = position[1];
        if (Trim(state.LeftText) == "-1") {
            state.LeftText = "0";
        }
        result.left = StrToInt(state.LeftText);
        if (Trim(state.TopText) == "-1") {
            state.TopText = IntToStr(screenHeight - 67);
        }
        result.top = StrToInt(state.TopText);

        state.BaseTime = clock.monotonic();
        state.ElapsedTime = std::chrono::nanoseconds{0};

        state.RemainText = folder.ReadLine("remain.dat");
        state.BaseSeconds = BalanceToSeconds(state.RemainText);
        state.BalanceKnown = true;

        state.SecondsUsed = 0;
        state.HoursLeft = 0;
        state.MinutesLeft = 0;
        state.SecondsLeft = 0;
        state.HoursText = "000";
        state.MinutesText = "00";
        state.SecondsText = "00";
        state.HoverHold = false;
        state.OfflineSaved = true;
        state.HoldTicks = 0;

        state.AlarmHours = StrToInt(folder.ReadLine("alarm.dat"));

        const auto economic = folder.ReadLines("economic.dat", 3);
        state.EconomicBeginText = economic[0];
        state.EconomicEndText = economic[1];
        state.DiscountPercent = StrToInt(economic[2]);

        Serbian = folder.FileExists("srpski.dat");

        state.HoursLeft = (state.BaseSeconds - state.SecondsUsed) / 3600;
    } catch (const StoreError& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace surftally
