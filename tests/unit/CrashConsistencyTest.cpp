// Killing a writer needs fork and SIGKILL; the Windows store is tested in tests/windows.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "Conversions.h"
#include "DataFolder.h"
#include "TempFolder.h"

using namespace surftally;

namespace {

// Temporary files that writers of name left in the folder.
int leftTemporaries(const std::filesystem::path& folder, const std::string& name) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("." + name + ".tmp.", 0) == 0) {
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
        mostLitter = std::max(mostLitter, leftTemporaries(temp.path(), "remain.dat"));
    }
    // A writer killed between creating its temporary file and renaming it leaves that file
    // behind; the next write clears what dead writers left, so it never piles up.
    EXPECT_LE(mostLitter, 2);
    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(leftTemporaries(temp.path(), "remain.dat"), 0);
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
}

TEST(CrashConsistency, TemporariesOfDeadWritersAreClearedOthersKept) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    const pid_t dead = ::fork();
    if (dead == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    const std::string deadName = ".remain.dat.tmp." + std::to_string(dead) + ".0";
    const std::string liveName = ".remain.dat.tmp." + std::to_string(::getppid()) + ".0";
    temp.put(deadName, "011:");
    temp.put(liveName, "010:");
    temp.put(".alarm.dat.tmp." + std::to_string(dead) + ".0", "3");
    temp.put(".remain.dat.tmp.notanumber", "x");

    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_FALSE(std::filesystem::exists(temp.path() / deadName));
    // A live process may be about to rename its temporary file; files of other data files
    // wait for their own next write; files not named like a temporary are not the store's.
    EXPECT_EQ(temp.get(liveName), "010:");
    EXPECT_TRUE(
        std::filesystem::exists(temp.path() / (".alarm.dat.tmp." + std::to_string(dead) + ".0")));
    EXPECT_TRUE(std::filesystem::exists(temp.path() / ".remain.dat.tmp.notanumber"));
}

TEST(CrashConsistency, LeftoverUnderThisProcessNumberDoesNotBlockTheWrite) {
    // A process killed before a restart may have had the number this one has now, and left
    // temporary files under names this one is about to use.
    TempFolder temp;
    const DataFolder folder(temp.path());
    const std::string own = ".remain.dat.tmp." + std::to_string(::getpid()) + ".";
    for (int n = 0; n < 64; ++n) {
        temp.put(own + std::to_string(n), "old");
    }
    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    for (int n = 0; n < 64; ++n) {
        EXPECT_EQ(temp.get(own + std::to_string(n)), "old");
    }
}

#endif  // _WIN32
