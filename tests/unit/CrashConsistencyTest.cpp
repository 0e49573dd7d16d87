// Killing a writer needs fork and SIGKILL; the Windows store is tested in tests/windows.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

namespace {

// Files in the folder besides the data files themselves.
int litter(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".dat") {
            ++count;
        }
    }
    return count;
}

// A child that counts the stored balance down one second per write, as fast as it can,
// until it is killed.
pid_t startWriter(const DataFolder& folder) {
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    try {
        std::int32_t seconds = BalanceToSeconds(folder.ReadLine("remain.dat"));
        for (;;) {
            folder.WriteLines("remain.dat", {SecondsToBalance(--seconds)});
        }
    } catch (...) {
    }
    ::_exit(1);
}

}  // namespace

TEST(CrashConsistency, KilledWriterLeavesOldOrNewBalanceAndNoGrowingLitter) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    folder.WriteLines("remain.dat", {"999:59:59"});
    std::int32_t last = BalanceToSeconds("999:59:59");

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);

    int mostLitter = 0;
    for (int kill = 0; kill < 1000; ++kill) {
        const pid_t pid = startWriter(folder);
        ASSERT_GT(pid, 0);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own at kill " << kill;

        const std::string content = temp.get("remain.dat");
        ASSERT_EQ(content.size(), 11u) << "kill " << kill;
        ASSERT_EQ(content.substr(9), "\r\n") << "kill " << kill;
        ASSERT_TRUE(IsBalanceText(content.substr(0, 9))) << "kill " << kill << ": " << content;
        // Old or new: the balance never goes back to a value it has already left.
        const std::int32_t now = BalanceToSeconds(content.substr(0, 9));
        ASSERT_LE(now, last) << "kill " << kill;
        last = now;
        mostLitter = std::max(mostLitter, litter(temp.path()));
    }
    // A writer killed between creating its temporary file and renaming it leaves that one file
    // behind, under a fixed name: the next write takes it over, so it never piles up.
    EXPECT_LE(mostLitter, 1);
    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(litter(temp.path()), 0);
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
}

TEST(CrashConsistency, LeftoverTemporaryIsTakenOverWhateverItHolds) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    folder.WriteLines("alarm.dat", {"2"});
    // Longer than the new content, not writable, or a link to another file.
    temp.put("remain.dat.tmp", std::string(100, 'x'));
    std::filesystem::permissions(temp.path() / "remain.dat.tmp", std::filesystem::perms::none);
    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_EQ(litter(temp.path()), 0);

    std::filesystem::create_symlink(temp.path() / "alarm.dat", temp.path() / "remain.dat.tmp");
    folder.WriteLines("remain.dat", {"011:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "011:00:00\r\n");
    EXPECT_EQ(temp.get("alarm.dat"), "2\r\n");
    EXPECT_EQ(litter(temp.path()), 0);
}

#endif  // _WIN32
