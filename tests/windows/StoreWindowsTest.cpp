#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "store/DataFolder.h"
#include "store/StoreErrors.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

namespace {

std::string inOutErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const InOutError& e) {
        return e.what();
    }
    return "no error";
}

// Holds a file open with no sharing, as a backup program or a virus scanner may.
class LockedFile {
public:
    explicit LockedFile(const std::filesystem::path& path)
        : handle_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~LockedFile() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

int filesIn(const std::filesystem::path& folder) {
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
    }
    return files;
}

}  // namespace

TEST(WindowsInOutErrors, SystemErrorNumbers) {
    EXPECT_STREQ(InOutError::fromWin32(ERROR_FILE_NOT_FOUND).what(), "File not found");
    EXPECT_STREQ(InOutError::fromWin32(ERROR_PATH_NOT_FOUND).what(), "File not found");
    EXPECT_STREQ(InOutError::fromWin32(ERROR_ACCESS_DENIED).what(), "I/O error 5");
    EXPECT_STREQ(InOutError::fromWin32(ERROR_SHARING_VIOLATION).what(), "I/O error 32");
    EXPECT_EQ(InOutError::fromWin32(ERROR_DISK_FULL).code(), 112);
}

TEST(WindowsDataFolder, FixedFolderUnlessOverridden) {
    ASSERT_EQ(::_putenv_s("SURFTALLY_DATA_DIR", ""), 0);
    EXPECT_EQ(DataFolder::standard().path().wstring(), L"C:\\Program Files\\Surftally");
    EXPECT_EQ(DataFolder::standard().file("remain.dat").wstring(),
              L"C:\\Program Files\\Surftally\\remain.dat");
    ASSERT_EQ(::_putenv_s("SURFTALLY_DATA_DIR", "D:\\dev\\data"), 0);
    EXPECT_EQ(DataFolder::standard().path().wstring(), L"D:\\dev\\data");
    ASSERT_EQ(::_putenv_s("SURFTALLY_DATA_DIR", ""), 0);
}

class WindowsDataFolderTest : public ::testing::Test {
protected:
    TempFolder temp;
    DataFolder folder{temp.path()};
};

TEST_F(WindowsDataFolderTest, ReplacesAnExistingFileWhole) {
    folder.WriteLines("remain.dat", {"012:00:00"});
    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_EQ(temp.get("remain.dat"), "011:59:00\r\n");
    EXPECT_EQ(folder.ReadLine("remain.dat"), "011:59:00");
    EXPECT_EQ(filesIn(temp.path()), 1);
}

TEST_F(WindowsDataFolderTest, MissingFolderIsFileNotFound) {
    const DataFolder missing(temp.path() / "nowhere");
    EXPECT_EQ(inOutErrorText([&] { missing.WriteLines("remain.dat", {"001:00:00"}); }),
              "File not found");
    EXPECT_EQ(inOutErrorText([&] { missing.ReadLine("remain.dat"); }), "File not found");
    EXPECT_EQ(inOutErrorText([&] { folder.ReadLine("remain.dat"); }), "File not found");
}

TEST_F(WindowsDataFolderTest, FileHeldOpenByAnotherProgram) {
    folder.WriteLines("remain.dat", {"012:00:00"});
    {
        LockedFile lock(temp.path() / "remain.dat");
        ASSERT_TRUE(lock.held());
        // Reading reports the system's own number for a sharing violation.
        EXPECT_EQ(inOutErrorText([&] { folder.ReadLine("remain.dat"); }), "I/O error 32");
        // Replacing fails with the system's number, leaving the old content and no
        // temporary file behind.
        const std::string text =
            inOutErrorText([&] { folder.WriteLines("remain.dat", {"011:59:00"}); });
        EXPECT_TRUE(text == "I/O error 5" || text == "I/O error 32") << text;
    }
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_EQ(filesIn(temp.path()), 1);
    // Once the other program lets go, writing works again.
    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_EQ(folder.ReadLine("remain.dat"), "011:59:00");
}

// A scanner that holds the file for a moment costs the write a short wait, not an error.
TEST_F(WindowsDataFolderTest, FileHeldForAMomentIsWaitedFor) {
    folder.WriteLines("remain.dat", {"012:00:00"});
    const std::filesystem::path staged = temp.path() / "remain.dat.tmp";
    std::atomic<bool> held{false};
    std::atomic<bool> sawWrite{false};
    std::thread holder([&] {
        LockedFile lock(temp.path() / "remain.dat");
        held = lock.held();
        // Let go only once the write has staged its new content and met the lock.
        const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!std::filesystem::exists(staged) && std::chrono::steady_clock::now() < bound) {
            ::Sleep(1);
        }
        sawWrite = std::filesystem::exists(staged);
        ::Sleep(100);
    });
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!held && std::chrono::steady_clock::now() < bound) {
        ::Sleep(1);
    }
    if (!held) {
        holder.join();
        FAIL() << "could not hold remain.dat";
    }
    EXPECT_EQ(inOutErrorText([&] { folder.WriteLines("remain.dat", {"011:59:00"}); }), "no error");
    holder.join();
    EXPECT_TRUE(sawWrite);
    EXPECT_EQ(temp.get("remain.dat"), "011:59:00\r\n");
    EXPECT_EQ(filesIn(temp.path()), 1);
}

TEST_F(WindowsDataFolderTest, FolderNameOutsideTheAnsiCodePage) {
    const std::filesystem::path wide = temp.path() / L"Surftally \u0160\u0111 \u03a9";
    std::filesystem::create_directory(wide);
    const DataFolder data(wide);
    data.WriteLines("remain.dat", {"012:05:30"});
    data.WriteLines("remain.dat", {"012:05:00"});
    EXPECT_TRUE(data.FileExists("remain.dat"));
    EXPECT_EQ(data.ReadLine("remain.dat"), "012:05:00");
    EXPECT_EQ(filesIn(wide), 1);
}

// A file the user made read-only is refused with the system's access-denied number and left
// as it is, attribute and all; Wine would move over it without the store's own check.
TEST_F(WindowsDataFolderTest, ReadOnlyFileIsRefusedAndLeftAsItIs) {
    folder.WriteLines("remain.dat", {"012:00:00"});
    const std::filesystem::path file = temp.path() / "remain.dat";
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(inOutErrorText([&] { folder.WriteLines("remain.dat", {"011:59:00"}); }),
              "I/O error 5");
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_NE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(filesIn(temp.path()), 1);

    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_EQ(temp.get("remain.dat"), "011:59:00\r\n");
}

// A data file that is a symbolic link stays one: the file it leads to is replaced.
TEST_F(WindowsDataFolderTest, LinkedFileIsWrittenThroughToItsTarget) {
    TempFolder elsewhere;
    elsewhere.put("balance", "012:00:00\r\n");
    const std::filesystem::path link = temp.path() / "remain.dat";
    // Wine 8 reports success and makes no link: skip where no link came of it.
    if (!::CreateSymbolicLinkW(link.c_str(), (elsewhere.path() / "balance").c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
        ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system makes no symbolic links here; linked case not run";
    }
    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_NE(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(elsewhere.get("balance"), "011:59:00\r\n");
    EXPECT_EQ(folder.ReadLine("remain.dat"), "011:59:00");
    EXPECT_EQ(filesIn(temp.path()), 1);
    EXPECT_EQ(filesIn(elsewhere.path()), 1);
}
