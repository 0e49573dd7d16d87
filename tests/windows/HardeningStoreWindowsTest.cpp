#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "DataFolder.h"
#include "TempFolder.h"

using namespace surftally;

// A writer ended between creating its temporary file and moving it leaves the file behind;
// the next write clears those of processes that no longer run, and a leftover under this
// process's own number never blocks a write.
TEST(HardeningStoreWindows, LeftoverTemporariesAreClearedOrSkipped) {
    TempFolder temp;
    const DataFolder folder(temp.path());
    // No process has this number: Windows numbers are multiples of four below 2^32.
    const std::string dead = ".remain.dat.tmp.4294967290.0";
    const std::string own = ".remain.dat.tmp." + std::to_string(::GetCurrentProcessId()) + ".";
    temp.put(dead, "011:");
    for (int n = 0; n < 64; ++n) {
        temp.put(own + std::to_string(n), "old");
    }
    temp.put(".alarm.dat.tmp.4294967290.0", "3");

    folder.WriteLines("remain.dat", {"012:00:00"});
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");
    EXPECT_FALSE(std::filesystem::exists(temp.path() / dead));
    for (int n = 0; n < 64; ++n) {
        EXPECT_EQ(temp.get(own + std::to_string(n)), "old");
    }
    EXPECT_TRUE(std::filesystem::exists(temp.path() / ".alarm.dat.tmp.4294967290.0"));
}
