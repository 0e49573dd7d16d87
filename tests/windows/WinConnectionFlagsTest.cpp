#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include "WinConnectionFlags.h"

using namespace surftally;

TEST(WinConnectionFlags, AnswersAsTheSystemDoes) {
    DWORD expectedFlags = 0;
    const bool expected = ::InternetGetConnectedState(&expectedFlags, 0) != FALSE;

    WinConnectionFlags adapter;
    std::uint32_t flags = 0xFFFFFFFF;
    const bool result = adapter.connected(flags);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(flags, expectedFlags);

    // Only the documented state bits come back.
    constexpr std::uint32_t known = INTERNET_CONNECTION_MODEM | INTERNET_CONNECTION_LAN |
                                    INTERNET_CONNECTION_PROXY | INTERNET_CONNECTION_MODEM_BUSY |
                                    INTERNET_RAS_INSTALLED | INTERNET_CONNECTION_OFFLINE |
                                    INTERNET_CONNECTION_CONFIGURED;
    EXPECT_EQ(flags & ~known, 0u) << std::hex << flags;
    if (result) {
        EXPECT_NE(flags & (ConnectionFlags::kModem | ConnectionFlags::kLan |
                           ConnectionFlags::kProxy | ConnectionFlags::kConfigured),
                  0u)
            << "connected, but through nothing: " << std::hex << flags;
    }
}
