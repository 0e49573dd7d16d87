#include <gtest/gtest.h>

#include "accounting/ConnectionProbe.h"
#include "tests/support/FakeConnectionFlags.h"

namespace surftally {
namespace {

struct ProbeCase {
    bool platform;
    std::uint32_t bits;
    const char* text;
    bool result;
    bool online;
};

class ConnectionProbeTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ConnectionProbeTest, TextResultAndOnline) {
    const ProbeCase& c = GetParam();
    FakeConnectionFlags flags;
    flags.result = c.platform;
    flags.bits = c.bits;
    std::string text = "stale";
    const bool result = ProbeConnection(flags, text);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(IsOnline(result, text), c.online);
}

INSTANTIATE_TEST_SUITE_P(FlagTable, ConnectionProbeTest,
                         ::testing::Values(ProbeCase{false, 0x00, "Off - Line", false, false},
                                           // bits are ignored when the platform says no
                                           ProbeCase{false, 0x02, "Off - Line", false, false},
                                           ProbeCase{true, 0x01, "Modem", true, true},
                                           ProbeCase{true, 0x02, "LAN Internet", true, true},
                                           ProbeCase{true, 0x03, "LAN Internet", true, true},
                                           ProbeCase{true, 0x06, "Proxy", true, false},
                                           ProbeCase{true, 0x09, "Modem Busy", true, false},
                                           ProbeCase{true, 0x40, "Off - Line", true, false}));

}  // namespace
}  // namespace surftally
