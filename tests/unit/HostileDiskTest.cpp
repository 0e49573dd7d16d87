// A disk of its own needs a mount namespace (Linux).
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTickView.h"
#include "tests/support/MountNamespace.h"
#include "tests/support/TempFolder.h"

using namespace surftally;
using namespace std::chrono_literals;

namespace {

// The tick of a started program on a data folder that the test can fill or make read-only.
// Runs inside the child process of InTmpfs; a failed check prints why and gives its number.
class DiskRig {
public:
    explicit DiskRig(const std::filesystem::path& dir) : temp(dir), folder(dir) {
        put("remain.dat", "012:00:00\r\n");
        put("alarm.dat", "2\r\n");
        put("economic.dat", "00:00\r\n00:00\r\n0\r\n");
        put("position.dat", "-1\r\n-1\r\n");
        ConnectionText.clear();
        ReadStoredState(state, folder, clock, 768);
    }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(temp / name, std::ios::binary) << bytes;
    }
    std::string stored() const {
        std::ifstream in(temp / "remain.dat", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void run(int count) {
        for (int i = 0; i < count; ++i) {
            clock.advance(1s);
            tick.Timer1Timer();
        }
    }
    void fill() const {
        std::ofstream filler(temp / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    void unfill() const { std::filesystem::remove(temp / "filler"); }
    // The balance's reports, apart from the spell history's reports of its own file.
    std::vector<std::string> balanceErrors() const {
        std::vector<std::string> errors;
        for (const std::string& e : view.errors) {
            if (e.rfind(kHistoryReport, 0) != 0) {
                errors.push_back(e);
            }
        }
        return errors;
    }
    std::size_t historyErrors() const { return view.errors.size() - balanceErrors().size(); }
    static constexpr const char* kHistoryReport = "history.dat: ";

    std::filesystem::path temp;
    DataFolder folder;
    FakeClock clock{12h};
    FakeConnectionFlags flags;
    FakeTickView view;
    SharedState state;
    BalanceTick tick{state, clock, flags, folder, view};
};

int check(bool ok, int code, const std::string& what) {
    if (!ok) {
        std::fprintf(stderr, "check %d failed: %s\n", code, what.c_str());
    }
    return ok ? 0 : code;
}

#define CHECK(cond, code, what)                       \
    if (const int failed = check((cond), code, what)) \
    return failed

// Counting on-line over a disk that stops taking writes, then takes them again: the minute
// mark reports the system's error once, the stored balance stays whole, counting goes on, and
// the balance is saved at the first mark after the disk takes it again.
int minuteMarkOver(const std::filesystem::path& dir, bool readOnly) {
    DiskRig rig(dir);
    rig.flags.setOnline(ConnectionFlags::kModem);
    rig.run(30);
    if (readOnly) {
        CHECK(RemountReadOnly(dir), 1, "remount read-only");
    } else {
        rig.fill();
    }
    const std::string error = "I/O error " + std::to_string(readOnly ? EROFS : ENOSPC);
    rig.run(30);
    CHECK(rig.view.display == "011:59:00", 2, rig.view.display);
    CHECK(rig.balanceErrors().size() == 1 && rig.balanceErrors()[0] == error, 3,
          rig.balanceErrors().empty() ? "no error" : rig.balanceErrors()[0]);
    CHECK(rig.stored() == "012:00:00\r\n", 4, rig.stored());
    rig.run(30);
    CHECK(rig.view.display == "011:58:30", 5, rig.view.display);
    CHECK(rig.stored() == "012:00:00\r\n", 6, rig.stored());
    // The spell's minute line failed as well, and said so once.
    CHECK(rig.historyErrors() == 1 && std::count(rig.view.errors.begin(), rig.view.errors.end(),
                                                 DiskRig::kHistoryReport + error) == 1,
          14, "history reports: " + std::to_string(rig.historyErrors()));

    if (readOnly) {
        CHECK(::mount("none", dir.c_str(), nullptr, MS_REMOUNT, nullptr) == 0, 7, "remount");
    } else {
        rig.unfill();
    }
    // Nothing is tried between marks: the next mark saves.
    rig.run(29);
    CHECK(rig.stored() == "012:00:00\r\n", 8, rig.stored());
    rig.run(1);
    CHECK(rig.stored() == "011:58:00\r\n", 9, rig.stored());
    CHECK(rig.balanceErrors().size() == 1, 13, rig.balanceErrors().back());

    // The drop to off-line saves once the disk takes it, and then only once; the failure,
    // back after a save that landed, is reported once again.
    rig.run(10);
    rig.fill();
    rig.flags.setOffline();
    rig.run(3);
    CHECK(rig.balanceErrors().size() == 2 &&
              rig.balanceErrors()[1] == "I/O error " + std::to_string(ENOSPC),
          10, rig.balanceErrors().back());
    CHECK(rig.stored() == "011:58:00\r\n", 11, rig.stored());
    rig.unfill();
    rig.run(2);
    CHECK(rig.stored() == "011:57:50\r\n", 12, rig.stored());
    return 0;
}

}  // namespace

TEST(HostileDisk, FullDiskAtTheMinuteMarkAndTheDrop) {
    TempFolder temp;
    const auto code =
        InTmpfs(temp.path(), "64k", [&] { return minuteMarkOver(temp.path(), false); });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; full-disk case not run";
    }
    EXPECT_EQ(*code, 0);
}

TEST(HostileDisk, ReadOnlyDiskAtTheMinuteMark) {
    TempFolder temp;
    const auto code =
        InTmpfs(temp.path(), "64k", [&] { return minuteMarkOver(temp.path(), true); });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; read-only case not run";
    }
    EXPECT_EQ(*code, 0);
}

#endif  // _WIN32
