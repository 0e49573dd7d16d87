#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <utility>

#include <windows.h>
#include <wininet.h>

#include "accounting/ConnectionProbe.h"
#include "platform/windows/WinConnectionFlags.h"

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

    // The probe's text over the real answer: the last of the four bits that is set.
    std::string text;
    EXPECT_EQ(ProbeConnection(adapter, text), expected);
    std::string want = "Off - Line";
    if (expected) {
        const std::pair<std::uint32_t, const char*> names[] = {
            {INTERNET_CONNECTION_MODEM, "Modem"},
            {INTERNET_CONNECTION_LAN, "LAN Internet"},
            {INTERNET_CONNECTION_PROXY, "Proxy"},
            {INTERNET_CONNECTION_MODEM_BUSY, "Modem Busy"}};
        for (const auto& [bit, name] : names) {
            if ((expectedFlags & bit) != 0) {
                want = name;
            }
        }
    }
    EXPECT_EQ(text, want) << "flags " << std::hex << expectedFlags;
    std::cout << "[          ] InternetGetConnectedState: " << (expected ? "TRUE" : "FALSE")
              << ", flags 0x" << std::hex << expectedFlags << std::dec << ", \"" << text << "\"\n";
}
