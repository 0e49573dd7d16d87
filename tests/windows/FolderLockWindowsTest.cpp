#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/FolderLock.h"
#include "tests/support/TempFolder.h"

using namespace surftally;
using Outcome = FolderLock::Outcome;

namespace {

constexpr const wchar_t* kChildFolder = L"SURFTALLY_LOCK_CHILD_FOLDER";

// This test program run again as a holder of folder's lock, or nothing.
class Holder {
public:
    explicit Holder(const std::filesystem::path& folder) {
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) +
                               L"\" --gtest_also_run_disabled_tests"
                               L" --gtest_filter=DISABLED_FolderLockChild.HoldsUntilKilled";
        ::SetEnvironmentVariableW(kChildFolder, folder.c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &startup, &process_);
        ::SetEnvironmentVariableW(kChildFolder, nullptr);
    }
    ~Holder() {
        if (started_) {
            kill();
            ::CloseHandle(process_.hProcess);
            ::CloseHandle(process_.hThread);
        }
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool started() const { return started_; }
    void kill() {
        ::TerminateProcess(process_.hProcess, 9);
        ::WaitForSingleObject(process_.hProcess, INFINITE);
    }
    bool running() const { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace

TEST(FolderLockWindows, SecondHandleIsRefusedWhileHeld) {
    TempFolder temp;
    FolderLock first;
    FolderLock second;
    EXPECT_EQ(first.tryAcquire(temp.path()), Outcome::Acquired);
    EXPECT_EQ(second.tryAcquire(temp.path()), Outcome::HeldElsewhere);
    // Another program may still open the lock file: only the lock excludes.
    const HANDLE reader = ::CreateFileW((temp.path() / FolderLock::kFileName).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    ::CloseHandle(reader);
    first.release();
    EXPECT_EQ(second.tryAcquire(temp.path()), Outcome::Acquired);

    FolderLock missing;
    EXPECT_EQ(missing.tryAcquire(temp.path() / "nowhere"), Outcome::Failed);
    EXPECT_EQ(missing.error(), "File not found");
}

TEST(FolderLockWindows, KilledHolderLeavesTheFolderFree) {
    TempFolder temp;
    Holder holder(temp.path());
    ASSERT_TRUE(holder.started());
    // The holder makes this file once it holds the lock.
    const std::filesystem::path ready = temp.path() / "ready";
    for (int i = 0; i < 600 && !std::filesystem::exists(ready) && holder.running(); ++i) {
        ::Sleep(100);
    }
    ASSERT_TRUE(std::filesystem::exists(ready)) << "the holder did not take the lock";
    FolderLock lock;
    EXPECT_EQ(lock.tryAcquire(temp.path()), Outcome::HeldElsewhere);
    holder.kill();
    EXPECT_EQ(lock.tryAcquire(temp.path()), Outcome::Acquired);
}

// Run only by KilledHolderLeavesTheFolderFree, as its holder.
TEST(DISABLED_FolderLockChild, HoldsUntilKilled) {
    const wchar_t* folder = ::_wgetenv(kChildFolder);
    ASSERT_NE(folder, nullptr);
    FolderLock lock;
    ASSERT_EQ(lock.tryAcquire(folder), Outcome::Acquired);
    std::ofstream(std::filesystem::path(folder) / "ready");
    ::Sleep(INFINITE);
}
