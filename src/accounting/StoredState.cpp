#include "accounting/StoredState.h"

#include "accounting/Globals.h"
#include "platform/Clock.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "store/StoreErrors.h"

namespace surftally {

StoredStateResult ReadStoredState(SharedState& state, const DataFolder& folder, const Clock& clock,
                                  int screenHeight) {
    StoredStateResult result;
    try {
        // "-1" stands for the bottom-left corner; the texts keep the place they give.
        folder.ReadPlace(state.LeftText, state.TopText);
        result.left = ReadPosition(state.LeftText, 0);
        state.LeftText = IntToStr(*result.left);
        result.top = ReadPosition(state.TopText, screenHeight - 67);
        state.TopText = IntToStr(*result.top);

        state.BaseTime = clock.monotonic();
        state.ElapsedTime = std::chrono::nanoseconds{0};

        state.RemainText = folder.ReadBalance();
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

        state.AlarmHours = folder.ReadAlarm();
        folder.ReadEconomic(state.EconomicBeginText, state.EconomicEndText, state.DiscountPercent);
        Serbian = folder.SerbianChosen();

        state.HoursLeft = (state.BaseSeconds - state.SecondsUsed) / 3600;
    } catch (const StoreError& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace surftally
