#pragma once

#include <cstdint>

namespace surftally {

// The platform's answer to "is there a live Internet connection, and through what?", in the
// flag bits of the Windows connection-state call.
class ConnectionFlags {
public:
    static constexpr std::uint32_t kModem = 0x01;
    static constexpr std::uint32_t kLan = 0x02;
    static constexpr std::uint32_t kProxy = 0x04;
    static constexpr std::uint32_t kModemBusy = 0x08;
    static constexpr std::uint32_t kConfigured = 0x40;

    virtual ~ConnectionFlags() = default;

    // Whether the platform reports a connection; flags receives the bits either way.
    virtual bool connected(std::uint32_t& flags) = 0;
};

}  // namespace surftally
