#include <gtest/gtest.h>

#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

class StoredStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp.seedDefaults();
        Serbian = false;
    }
    StoredStateResult read() { return ReadStoredState(state, folder, clock, 768); }

    TempFolder temp;
    DataFolder folder{temp.path()};
    FakeClock clock;
    SharedState state;
};

TEST_F(StoredStateTest, NewDataFolder) {
    temp.put("remain.dat", "100:00:00\r\n");
    temp.put("economic.dat", "22:00\r\n06:00\r\n50\r\n");
    const auto result = read();
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.left, 0);
    EXPECT_EQ(result.top, 701);
    EXPECT_EQ(state.LeftText, "0");
    EXPECT_EQ(state.TopText, "701");
    EXPECT_EQ(state.RemainText, "100:00:00");
    EXPECT_EQ(state.BaseSeconds, 360000);
    EXPECT_EQ(state.HoursLeft, 100);
    EXPECT_EQ(state.AlarmHours, 2);
    EXPECT_EQ(state.EconomicBeginText, "22:00");
    EXPECT_EQ(state.EconomicEndText, "06:00");
    EXPECT_EQ(state.DiscountPercent, 50);
    EXPECT_EQ(state.BaseTime, clock.monotonic());
    EXPECT_EQ(state.HoursText, "000");
    EXPECT_TRUE(state.OfflineSaved);
    EXPECT_TRUE(state.MinuteSaved());
    EXPECT_TRUE(state.BalanceKnown);
    EXPECT_FALSE(Serbian);
}

TEST_F(StoredStateTest, StoredPositionIsKept) {
    temp.put("position.dat", "300\r\n 40 \r\n");
    const auto result = read();
    EXPECT_EQ(result.left, 300);
    // A position other than "-1" is converted untrimmed.
    EXPECT_EQ(result.top, std::nullopt);
    EXPECT_EQ(result.error, "' 40 ' is not a valid integer value");
    EXPECT_FALSE(state.BalanceKnown);
}

TEST_F(StoredStateTest, MarkerFileChoosesSerbianWhateverItHolds) {
    temp.put("srpski.dat", "");
    EXPECT_EQ(read().error, "");
    EXPECT_TRUE(Serbian);
}

TEST_F(StoredStateTest, TwoLineEconomicFileStopsBeforeLanguageAndHours) {
    temp.put("remain.dat", "100:00:00\r\n");
    temp.put("economic.dat", "22:00\r\n06:00\r\n");
    temp.put("srpski.dat", "x");
    const auto result = read();
    EXPECT_EQ(result.error, "'' is not a valid integer value");
    EXPECT_EQ(state.EconomicBeginText, "22:00");
    EXPECT_EQ(state.EconomicEndText, "06:00");
    EXPECT_EQ(state.AlarmHours, 2);
    EXPECT_FALSE(Serbian);
    EXPECT_EQ(state.HoursLeft, 0);
    EXPECT_EQ(state.BaseSeconds, 360000);
}

TEST_F(StoredStateTest, MissingOrMalformedBalanceLeavesItUnknown) {
    std::filesystem::remove(temp.path() / "remain.dat");
    EXPECT_EQ(read().error, "File not found");
    EXPECT_FALSE(state.BalanceKnown);
    EXPECT_EQ(state.AlarmHours, 0);

    SharedState fresh;
    state = fresh;
    temp.put("remain.dat", "12:00\r\n");
    EXPECT_EQ(read().error, "'12:' is not a valid integer value");
    EXPECT_FALSE(state.BalanceKnown);
    EXPECT_EQ(state.RemainText, "12:00");
}
