#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "store/Conversions.h"
#include "store/DataFolder.h"
#ifndef _WIN32
#include "tests/support/MountNamespace.h"
#endif
#include "store/StoreErrors.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

namespace {

std::string convertErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const ConvertError& e) {
        return e.what();
    }
    return "no error";
}

[[maybe_unused]] std::string inOutErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const InOutError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(Conversions, DecimalIntegers) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("  7"), 7);
    EXPECT_EQ(StrToInt("+2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(convertErrorText([] { StrToInt(""); }), "'' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { StrToInt("7 "); }), "'7 ' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { StrToInt("2147483648"); }),
              "'2147483648' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { StrToInt("99999999999999999999999"); }),
              "'99999999999999999999999' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { StrToInt("-"); }), "'-' is not a valid integer value");
}

TEST(Conversions, ErrorTextOfHostileInputStaysReadable) {
    EXPECT_EQ(convertErrorText([] { StrToInt(std::string("1\0002", 3)); }),
              "'1?2' is not a valid integer value");
    const std::string longText(1000, 'x');
    const std::string text = convertErrorText([&] { StrToInt(longText); });
    EXPECT_EQ(text, "'" + std::string(64, 'x') + "...' is not a valid integer value");
}

TEST(Conversions, BalanceText) {
    EXPECT_EQ(BalanceToSeconds("012:05:30"), 43530);
    EXPECT_EQ(BalanceToSeconds("000:00:00"), 0);
    EXPECT_EQ(BalanceToSeconds("999:59:59"), 3599999);
    EXPECT_EQ(BalanceToSeconds("100:00:00"), 360000);
    // Fields are taken by position; a short text fails on the characters that are there.
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds("12:30"); }),
              "'12:' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds("012:3"); }),
              "'' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds("012:3x"); }),
              "'3x' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds("012:30"); }),
              "'' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds(""); }), "'' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { BalanceToSeconds("21:13:57"); }),
              "'21:' is not a valid integer value");
}

TEST(Conversions, BalanceTextRoundTripAndValidity) {
    EXPECT_EQ(SecondsToBalance(43530), "012:05:30");
    EXPECT_EQ(SecondsToBalance(-5), "000:00:00");
    EXPECT_EQ(SecondsToBalance(1000 * 3600), "999:59:59");
    EXPECT_TRUE(IsBalanceText("012:05:30"));
    EXPECT_TRUE(IsBalanceText("999:59:59"));
    EXPECT_FALSE(IsBalanceText("21:13:57"));
    EXPECT_FALSE(IsBalanceText("012:60:00"));
    EXPECT_FALSE(IsBalanceText("012:00:60"));
    EXPECT_FALSE(IsBalanceText("-12:00:00"));
    EXPECT_FALSE(IsBalanceText("012:00:00 "));
    EXPECT_EQ(ZeroPadded(7, 3), "007");
    EXPECT_EQ(ZeroPadded(1234, 3), "1234");
}

TEST(Conversions, SwitchTextIsTrimmedAndCaseSensitive) {
    EXPECT_EQ(ReadSwitch(" On "), std::optional<bool>(true));
    EXPECT_EQ(ReadSwitch("Off"), std::optional<bool>(false));
    EXPECT_EQ(ReadSwitch("\tOff  "), std::optional<bool>(false));
    EXPECT_EQ(ReadSwitch("on"), std::nullopt);
    EXPECT_EQ(ReadSwitch("OFF"), std::nullopt);
    EXPECT_EQ(ReadSwitch(""), std::nullopt);
}

TEST(Conversions, PositionText) {
    EXPECT_EQ(ReadPosition(" -1 ", 701), 701);
    EXPECT_EQ(ReadPosition("250", 701), 250);
    EXPECT_EQ(convertErrorText([] { ReadPosition("250 ", 0); }),
              "'250 ' is not a valid integer value");
}

TEST(Conversions, TimeOfDayText) {
    EXPECT_EQ(TimeTextToSeconds("00:00"), 0);
    EXPECT_EQ(TimeTextToSeconds("22:30"), 81000);
    EXPECT_EQ(TimeTextToSeconds("23:59"), 86340);
    EXPECT_EQ(convertErrorText([] { TimeTextToSeconds("7:30"); }),
              "'7:' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { TimeTextToSeconds("07:3"); }),
              "'3' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { TimeTextToSeconds("__:__"); }),
              "'__' is not a valid integer value");
    EXPECT_EQ(convertErrorText([] { TimeTextToSeconds("25:61"); }),
              "'25:61' is not a valid integer value");
}

TEST(InOutErrors, Texts) {
    EXPECT_STREQ(InOutError::fromErrno(ENOENT).what(), "File not found");
    EXPECT_STREQ(InOutError::fromErrno(ENOSPC).what(),
                 ("I/O error " + std::to_string(ENOSPC)).c_str());
    EXPECT_EQ(InOutError::fromErrno(EACCES).code(), EACCES);
}

class DataFolderTest : public ::testing::Test {
protected:
    TempFolder temp;
    DataFolder folder{temp.path()};
};

TEST_F(DataFolderTest, ReadsLinesWhateverTheLineEnd) {
    temp.put("economic.dat", "22:00\r\n06:00\r\n50\r\n");
    EXPECT_EQ(folder.ReadLines("economic.dat", 3),
              (std::vector<std::string>{"22:00", "06:00", "50"}));
    temp.put("economic.dat", "22:00\n06:00\n50");
    EXPECT_EQ(folder.ReadLines("economic.dat", 3),
              (std::vector<std::string>{"22:00", "06:00", "50"}));
    temp.put("remain.dat",
             "\xEF\xBB\xBF"
             "012:00:00\r\n");
    EXPECT_EQ(folder.ReadLine("remain.dat"), "012:00:00");
}

TEST_F(DataFolderTest, MissingLinesReadEmptyAndExtraLinesAreIgnored) {
    temp.put("economic.dat", "22:00\r\n06:00\r\n");
    EXPECT_EQ(folder.ReadLines("economic.dat", 3),
              (std::vector<std::string>{"22:00", "06:00", ""}));
    temp.put("alarm.dat", "");
    EXPECT_EQ(folder.ReadLine("alarm.dat"), "");
    temp.put("alarm.dat", "5\r\n6\r\n7\r\n");
    EXPECT_EQ(folder.ReadLines("alarm.dat", 1), std::vector<std::string>{"5"});
}

TEST_F(DataFolderTest, MissingFileIsFileNotFound) {
    try {
        folder.ReadLine("alarm.dat");
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_FALSE(folder.FileExists("alarm.dat"));
    std::filesystem::create_directory(temp.path() / "srpski.dat.d");
    EXPECT_FALSE(folder.FileExists("srpski.dat.d"));
}

// A line is never cut into a different value: a line over the limit is a conversion error
// quoting its start, wherever it stands, and lines past those asked for are never looked at.
TEST_F(DataFolderTest, OverlongLineIsAConversionErrorNeverAnotherValue) {
    const std::string shownZeros = "'" + std::string(64, '0') + "...' is not a valid integer value";
    temp.put("alarm.dat", std::string(5000, '0') + "5\r\n");
    EXPECT_EQ(convertErrorText([&] { folder.ReadLine("alarm.dat"); }), shownZeros);
    temp.put("economic.dat", "22:00\r\n06:00\r\n" + std::string(1 << 20, '0') + "5");
    EXPECT_EQ(convertErrorText([&] { folder.ReadLines("economic.dat", 3); }), shownZeros);
    EXPECT_EQ(folder.ReadLines("economic.dat", 2), (std::vector<std::string>{"22:00", "06:00"}));

    // The limit is 4096 bytes of text, whatever line end or byte-order mark surrounds it.
    const std::string longest(4096, '7');
    temp.put("alarm.dat", "\xEF\xBB\xBF" + longest + "\r\n");
    EXPECT_TRUE(folder.ReadLine("alarm.dat") == longest);
    temp.put("alarm.dat", longest + "7\r\n");
    EXPECT_NE(convertErrorText([&] { folder.ReadLine("alarm.dat"); }), "no error");
}

TEST_F(DataFolderTest, WritesCrLfLinesAndRewritesWhole) {
    folder.WriteLines("economic.dat", {"22:00", "06:00", "50"});
    EXPECT_EQ(temp.get("economic.dat"), "22:00\r\n06:00\r\n50\r\n");
    folder.WriteLines("economic.dat", {"00:00"});
    EXPECT_EQ(temp.get("economic.dat"), "00:00\r\n");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(DataFolderTest, WriteIntoMissingFolderReportsAndCreatesNothing) {
    const DataFolder missing(temp.path() / "nowhere");
    try {
        missing.WriteLines("remain.dat", {"001:00:00"});
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "nowhere"));
}

// Linux only: tmpfs in a mount namespace, and the POSIX environment calls.
#ifndef _WIN32
TEST_F(DataFolderTest, FullDiskKeepsOldContentAndRecovers) {
    const auto code = InTmpfs(temp.path(), "64k", [&]() -> int {
        const DataFolder f(temp.path());
        f.WriteLines("remain.dat", {"012:00:00"});
        {
            std::ofstream filler(temp.path() / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        }
        try {
            f.WriteLines("remain.dat", {"011:59:00"});
            return 10;
        } catch (const InOutError& e) {
            if (std::string(e.what()) != "I/O error " + std::to_string(ENOSPC)) {
                return 11;
            }
        }
        if (temp.get("remain.dat") != "012:00:00\r\n") {
            return 12;
        }
        std::filesystem::remove(temp.path() / "filler");
        f.WriteLines("remain.dat", {"011:59:00"});
        return temp.get("remain.dat") == "011:59:00\r\n" ? 0 : 13;
    });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; full-disk case not run";
    }
    EXPECT_EQ(*code, 0);
}

TEST_F(DataFolderTest, ReadOnlyFolderKeepsOldContent) {
    const auto code = InTmpfs(temp.path(), "64k", [&]() -> int {
        const DataFolder f(temp.path());
        f.WriteLines("remain.dat", {"012:00:00"});
        if (!RemountReadOnly(temp.path())) {
            return 20;
        }
        try {
            f.WriteLines("remain.dat", {"011:59:00"});
            return 21;
        } catch (const InOutError& e) {
            if (std::string(e.what()) != "I/O error " + std::to_string(EROFS)) {
                return 22;
            }
        }
        return temp.get("remain.dat") == "012:00:00\r\n" ? 0 : 23;
    });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; read-only case not run";
    }
    EXPECT_EQ(*code, 0);
}

// A file the user made read-only is refused as a rewrite in place would refuse it, even to
// root, and stays as it is.
TEST_F(DataFolderTest, ReadOnlyFileIsRefusedAndLeftAsItIs) {
    namespace fs = std::filesystem;
    folder.WriteLines("remain.dat", {"012:00:00"});
    const fs::path file = temp.path() / "remain.dat";
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(file, readOnly);
    EXPECT_EQ(inOutErrorText([&] { folder.WriteLines("remain.dat", {"011:59:00"}); }),
              "I/O error " + std::to_string(EACCES));
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_EQ(fs::status(file).permissions(), readOnly);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);

    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_EQ(temp.get("remain.dat"), "011:59:00\r\n");
}

// A data file that is a link (through a chain of links, relative or absolute) stays a link:
// the file it leads to is replaced, with its temporary file beside it.
TEST_F(DataFolderTest, LinkedFileIsWrittenThroughToItsTarget) {
    namespace fs = std::filesystem;
    TempFolder elsewhere;
    fs::create_directory(elsewhere.path() / "real");
    elsewhere.put("real/balance", "012:00:00\r\n");
    fs::create_symlink("real/balance", elsewhere.path() / "hop");
    fs::create_symlink(elsewhere.path() / "hop", temp.path() / "remain.dat");

    folder.WriteLines("remain.dat", {"011:59:00"});
    EXPECT_TRUE(fs::is_symlink(temp.path() / "remain.dat"));
    EXPECT_TRUE(fs::is_symlink(elsewhere.path() / "hop"));
    EXPECT_EQ(elsewhere.get("real/balance"), "011:59:00\r\n");
    EXPECT_EQ(folder.ReadLine("remain.dat"), "011:59:00");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(elsewhere.path() / "real"), fs::directory_iterator()),
        1);

    // A read-only target is refused through the link too.
    fs::permissions(elsewhere.path() / "real/balance", fs::perms::owner_read);
    EXPECT_EQ(inOutErrorText([&] { folder.WriteLines("remain.dat", {"011:58:00"}); }),
              "I/O error " + std::to_string(EACCES));
    EXPECT_EQ(elsewhere.get("real/balance"), "011:59:00\r\n");
}

TEST(DataFolderLocation, OverrideAndXdg) {
    const char* home = std::getenv("HOME");
    const std::string oldHome = home != nullptr ? home : "";
    ::setenv("SURFTALLY_DATA_DIR", "/tmp/st-override", 1);
    EXPECT_EQ(DataFolder::standard().path(), "/tmp/st-override");
    ::unsetenv("SURFTALLY_DATA_DIR");
    ::setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(DataFolder::standard().path(), "/tmp/xdg/Surftally");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(DataFolder::standard().path(), "/home/u/.local/share/Surftally");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", oldHome.c_str(), 1);
}
#endif
