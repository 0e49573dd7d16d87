#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

namespace {

std::string conversionText(const std::string& shown) {
    return "'" + shown + "' is not a valid integer value";
}

class HostileFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp.seedDefaults();
        temp.put("remain.dat", "012:00:00\r\n");
        Serbian = false;
    }

    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(temp.path())) {
            files[entry.path().filename().string()] = temp.get(entry.path().filename().string());
        }
        return files;
    }

    // Reads the stored state as the start does; reading never changes a file, and a balance
    // is taken as known only when its text converts to it.
    StoredStateResult read() {
        const auto before = snapshot();
        state = SharedState();
        const auto result = ReadStoredState(state, folder, clock, 768);
        EXPECT_EQ(snapshot(), before);
        if (state.BalanceKnown) {
            EXPECT_EQ(BalanceToSeconds(state.RemainText), state.BaseSeconds);
        }
        return result;
    }

    TempFolder temp;
    DataFolder folder{temp.path()};
    FakeClock clock;
    SharedState state;
};

}  // namespace

TEST_F(HostileFilesTest, EachFileEmptyHugeBinaryOrOverLargeGivesAClearMessage) {
    const std::string megabyteOfOnes(1 << 20, '1');
    const std::string shownOnes = std::string(64, '1') + "...";
    const std::string binary(
        "\x00\x01\x7f"
        "5\x00\r\n",
        7);
    struct Case {
        const char* file;
        std::string bytes;
        std::string error;
        bool balanceKnown;
    };
    const std::vector<Case> cases = {
        {"position.dat", "", conversionText(""), false},
        {"position.dat", megabyteOfOnes + "\r\n-1\r\n", conversionText(shownOnes), false},
        {"position.dat", binary + "-1\r\n", conversionText("???5?"), false},
        {"position.dat", "-1\r\n99999999999\r\n", conversionText("99999999999"), false},
        {"remain.dat", "", conversionText(""), false},
        {"remain.dat", std::string(1 << 20, 'x'), conversionText(std::string(64, 'x') + "..."),
         false},
        {"remain.dat", binary, conversionText("???"), false},
        {"alarm.dat", "", conversionText(""), true},
        {"alarm.dat", megabyteOfOnes, conversionText(shownOnes), true},
        // Cut at the line limit this would read as 0.
        {"alarm.dat", std::string(5000, '0') + "5\r\n",
         conversionText(std::string(64, '0') + "..."), true},
        {"alarm.dat", binary, conversionText("???5?"), true},
        {"alarm.dat", "4294967296\r\n", conversionText("4294967296"), true},
        {"economic.dat", "", conversionText(""), true},
        {"economic.dat", "00:00\r\n00:00\r\n" + megabyteOfOnes, conversionText(shownOnes), true},
        {"economic.dat", binary + binary + binary, conversionText("???5?"), true},
        {"economic.dat", "00:00\r\n00:00\r\n2147483648\r\n", conversionText("2147483648"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " holding " + std::to_string(c.bytes.size()) + " bytes");
        SetUp();
        temp.put(c.file, c.bytes);
        const auto result = read();
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(state.BalanceKnown, c.balanceKnown);
        if (c.balanceKnown) {
            EXPECT_EQ(state.BaseSeconds, 12 * 3600);
        }
        // The language is chosen only when every file before it read well.
        EXPECT_FALSE(Serbian);
    }
}

TEST_F(HostileFilesTest, LfLineEndsAndByteOrderMarksReadAsTheirValues) {
    temp.put("srpski.dat", "");
    const auto expectSameAsCrLf = [&](const char* what) {
        SCOPED_TRACE(what);
        const auto result = read();
        EXPECT_EQ(result.error, "");
        EXPECT_EQ(result.left, 0);
        EXPECT_EQ(result.top, 701);
        EXPECT_EQ(state.BaseSeconds, 12 * 3600);
        EXPECT_EQ(state.AlarmHours, 2);
        EXPECT_EQ(state.EconomicBeginText, "22:00");
        EXPECT_EQ(state.EconomicEndText, "06:00");
        EXPECT_EQ(state.DiscountPercent, 50);
        EXPECT_TRUE(Serbian);
    };
    temp.put("position.dat", "-1\n-1\n");
    temp.put("remain.dat", "012:00:00\n");
    temp.put("alarm.dat", "2");
    temp.put("economic.dat", "22:00\n06:00\n50");
    expectSameAsCrLf("LF line ends");

    const std::string bom = "\xEF\xBB\xBF";
    temp.put("position.dat", bom + "-1\r\n-1\r\n");
    temp.put("remain.dat", bom + "012:00:00\r\n");
    temp.put("alarm.dat", bom + "2\r\n");
    temp.put("economic.dat", bom + "22:00\n06:00\r\n50\r\n");
    expectSameAsCrLf("byte-order marks");
}

TEST_F(HostileFilesTest, LargestBalanceReadsAndThousandHoursIsRejected) {
    temp.put("remain.dat", "999:59:59\r\n");
    EXPECT_EQ(read().error, "");
    EXPECT_EQ(state.BaseSeconds, 999 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(state.HoursLeft, 999);

    // Four digits of hours put the colon where the minutes belong.
    temp.put("remain.dat", "1000:00:00\r\n");
    EXPECT_EQ(read().error, conversionText(":0"));
    EXPECT_FALSE(state.BalanceKnown);
    EXPECT_EQ(state.RemainText, "1000:00:00");
}

// The tick over each hostile file: it goes on counting or holding, reports only the known
// texts, and the balance file holds either what it held or a balance text.
TEST_F(HostileFilesTest, TickOverHostileFilesWritesNothingButBalanceTexts) {
    using namespace std::chrono_literals;
    const std::string megabyte(1 << 20, '7');
    const std::string binary(
        "\x00\x01\x7f"
        "5\x00\r\n",
        7);
    struct Case {
        const char* file;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"remain.dat", ""},
        {"remain.dat", megabyte},
        {"remain.dat", binary},
        {"remain.dat",
         "\xEF\xBB\xBF"
         "012:00:00\n"},
        {"remain.dat", "999:59:59\r\n"},
        {"remain.dat", "1000:00:00\r\n"},
        {"remain.dat", "-01:00:00\r\n"},
        {"remain.dat", "012:99:99\r\n"},
        {"remain.dat", " 12: 5: 3\r\n"},
        {"alarm.dat", "2147483647\r\n"},
        {"alarm.dat", "-2147483648\r\n"},
        {"alarm.dat", binary},
        {"economic.dat", "25:00\r\n06:00\r\n50\r\n"},
        {"economic.dat", "01:00\r\n23:00\r\n-2147483648\r\n"},
        {"economic.dat", "01:00\r\n23:00\r\n2147483647\r\n"},
        {"economic.dat", binary + binary + "50\r\n"},
        {"economic.dat", megabyte},
        {"position.dat", binary},
    };
    const std::regex known("'.*' is not a valid integer value|File not found|I/O error [0-9]+");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " holding " + ConvertError::shown(c.bytes));
        SetUp();
        temp.put(c.file, c.bytes);
        const std::string storedBefore = temp.get("remain.dat");
        state = SharedState();
        ConnectionText.clear();
        FakeClock clock(12h);
        FakeConnectionFlags flags;
        FakeTickView view;
        ReadStoredState(state, folder, clock, 768);
        BalanceTick tick(state, clock, flags, folder, view);
        const auto runs = [&](int count) {
            for (int i = 0; i < count; ++i) {
                clock.advance(1s);
                tick.Timer1Timer();
            }
            const std::string stored = temp.get("remain.dat");
            if (stored != storedBefore) {
                EXPECT_EQ(stored.size(), 11u);
                EXPECT_TRUE(IsBalanceText(stored.substr(0, 9))) << stored;
                EXPECT_EQ(stored.substr(9), "\r\n");
            }
        };
        flags.setOnline(ConnectionFlags::kModem);
        runs(130);
        flags.setOffline();
        runs(2);
        flags.setOnline(ConnectionFlags::kLan);
        runs(61);
        flags.setOffline();
        runs(1);
        EXPECT_FALSE(view.closed);
        for (const auto& error : view.errors) {
            EXPECT_TRUE(std::regex_match(error, known)) << error;
        }
        if (state.BalanceKnown) {
            EXPECT_EQ(temp.get("remain.dat"), SecondsToBalance(state.BaseSeconds) + "\r\n");
        } else {
            EXPECT_EQ(temp.get("remain.dat"), storedBefore);
        }
    }
}
