#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "store/DataFolder.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

// A writer ended between creating its temporary file and moving it leaves that one file
// behind, under a fixed name; the next write takes it over whatever it holds, so at most one
// leftover per file ever exists and nothing needs clearing.
TEST(HardeningStoreWindows, LeftoverTemporaryIsTakenOver) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    temp.put("remain.dat.tmp", std::string(100, 'x'));
    temp.put("alarm.dat.tmp", "3");

    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "remain.dat.tmp"));
    // Another file's leftover waits for that file's next write.
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "alarm.dat.tmp"));
    folder.WriteLines("alarm.dat", {"2"});
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "alarm.dat.tmp"));
}
