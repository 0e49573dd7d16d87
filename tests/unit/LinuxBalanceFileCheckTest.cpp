// The tick's existence test of remain.dat when the folder cannot be looked at. A symbolic
// link loop stands for a share that dropped or a permission that changed: the test fails
// with a system error that is not "no such file", even for root.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/DataFolder.h"
#include "store/StoreErrors.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/TempFolder.h"

namespace surftally {
namespace {

using namespace std::chrono_literals;

TEST(BalanceFileCheck, OnlyAConfirmedAbsenceCountsAsMissing) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    EXPECT_TRUE(folder.FileMissing("remain.dat"));
    temp.put("remain.dat", "1\r\n");
    EXPECT_FALSE(folder.FileMissing("remain.dat"));
    std::filesystem::remove(temp.path() / "remain.dat");
    std::filesystem::create_symlink("remain.dat", temp.path() / "remain.dat");
    try {
        (void)folder.FileMissing("remain.dat");
        FAIL() << "a failed look at the folder counted as an answer";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.code(), ELOOP);
        EXPECT_EQ(std::string(e.what()), "I/O error " + std::to_string(ELOOP));
    }
}

TEST(BalanceFileCheck, FailedCheckIsReportedOnceAndTheTickGoesOn) {
    ConnectionText.clear();
    TempFolder temp;
    temp.seedDefaults();
    temp.put("remain.dat", "012:00:00\r\n");
    DataFolder folder(temp.path());
    FakeClock clock{12h};
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    BalanceTick tick{state, clock, flags, folder, view};
    ReadStoredState(state, folder, clock, 768);
    flags.setOnline(ConnectionFlags::kLan);

    std::filesystem::rename(temp.path() / "remain.dat", temp.path() / "kept.dat");
    std::filesystem::create_symlink("remain.dat", temp.path() / "remain.dat");
    for (int i = 0; i < 5; ++i) {
        clock.advance(1s);
        tick.Timer1Timer();
    }
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.display, "011:59:55");  // still counting
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], "I/O error " + std::to_string(ELOOP));

    // Looked at again, the file is there: no report, no end.
    std::filesystem::remove(temp.path() / "remain.dat");
    std::filesystem::rename(temp.path() / "kept.dat", temp.path() / "remain.dat");
    clock.advance(1s);
    tick.Timer1Timer();
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.errors.size(), 1u);
    // Confirmed gone: the program ends.
    std::filesystem::remove(temp.path() / "remain.dat");
    clock.advance(1s);
    tick.Timer1Timer();
    EXPECT_TRUE(view.closed);
}

}  // namespace
}  // namespace surftally
