// Holders in other processes need fork and signals; the Windows lock is tested in
// tests/windows.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "store/FolderLock.h"
#include "tests/support/MountNamespace.h"
#include "tests/support/TempFolder.h"

using namespace surftally;
using Outcome = FolderLock::Outcome;

namespace {

// A child process that takes the folder's lock, says so, and waits to be killed.
pid_t startHolder(const std::filesystem::path& folder) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        FolderLock lock;
        const char outcome = static_cast<char>(lock.tryAcquire(folder));
        (void)!::write(ready[1], &outcome, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char outcome = -1;
    const bool told = ::read(ready[0], &outcome, 1) == 1;
    ::close(ready[0]);
    if (!told || outcome != static_cast<char>(Outcome::Acquired)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

}  // namespace

TEST(FolderLock, SecondLockIsRefusedWhileHeldInThisProcess) {
    TempFolder temp;
    FolderLock first;
    FolderLock second;
    EXPECT_EQ(first.tryAcquire(temp.path()), Outcome::Acquired);
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(std::filesystem::exists(temp.path() / FolderLock::kFileName));
    EXPECT_EQ(second.tryAcquire(temp.path()), Outcome::HeldElsewhere);
    EXPECT_FALSE(second.held());
    first.release();
    EXPECT_EQ(second.tryAcquire(temp.path()), Outcome::Acquired);
    {
        FolderLock third;
        EXPECT_EQ(third.tryAcquire(temp.path()), Outcome::HeldElsewhere);
    }
    // A lock of another folder is another lock.
    TempFolder other;
    FolderLock fourth;
    EXPECT_EQ(fourth.tryAcquire(other.path()), Outcome::Acquired);
}

TEST(FolderLock, HolderInAnotherProcessExcludesUntilKilled) {
    TempFolder temp;
    const pid_t holder = startHolder(temp.path());
    ASSERT_GT(holder, 0);
    FolderLock lock;
    EXPECT_EQ(lock.tryAcquire(temp.path()), Outcome::HeldElsewhere);
    ::kill(holder, SIGKILL);
    ASSERT_EQ(::waitpid(holder, nullptr, 0), holder);
    EXPECT_EQ(lock.tryAcquire(temp.path()), Outcome::Acquired);
}

// A program started by the holder (a browser, a helper) must not keep the folder locked after
// the holder has ended.
TEST(FolderLock, ProgramsStartedByTheHolderDoNotInheritIt) {
    TempFolder temp;
    FolderLock lock;
    ASSERT_EQ(lock.tryAcquire(temp.path()), Outcome::Acquired);
    pid_t child = 0;
    char sleepPath[] = "/bin/sleep";
    char seconds[] = "600";
    char* argv[] = {sleepPath, seconds, nullptr};
    ASSERT_EQ(::posix_spawn(&child, sleepPath, nullptr, nullptr, argv, environ), 0);
    lock.release();
    FolderLock next;
    EXPECT_EQ(next.tryAcquire(temp.path()), Outcome::Acquired);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

// A folder that takes no writes: a lock file already there still locks; without one the lock
// fails with the system's reason, and so does a missing folder.
TEST(FolderLock, ReadOnlyOrMissingFolder) {
    TempFolder temp;
    FolderLock missing;
    EXPECT_EQ(missing.tryAcquire(temp.path() / "nowhere"), Outcome::Failed);
    EXPECT_EQ(missing.error(), "File not found");
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "nowhere"));

    const auto code = InTmpfs(temp.path(), "64k", [&]() -> int {
        const std::filesystem::path withFile = temp.path() / "with";
        const std::filesystem::path without = temp.path() / "without";
        std::filesystem::create_directory(withFile);
        std::filesystem::create_directory(without);
        {
            FolderLock made;
            if (made.tryAcquire(withFile) != Outcome::Acquired) {
                return 1;
            }
        }
        if (!RemountReadOnly(temp.path())) {
            return 2;
        }
        FolderLock first;
        FolderLock second;
        if (first.tryAcquire(withFile) != Outcome::Acquired) {
            return 3;
        }
        if (second.tryAcquire(withFile) != Outcome::HeldElsewhere) {
            return 4;
        }
        FolderLock none;
        if (none.tryAcquire(without) != Outcome::Failed ||
            none.error() != "I/O error " + std::to_string(EROFS)) {
            return 5;
        }
        return 0;
    });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; read-only folder not tried";
    }
    EXPECT_EQ(*code, 0);
}

#endif  // _WIN32
