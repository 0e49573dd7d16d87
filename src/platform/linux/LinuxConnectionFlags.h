#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/ConnectionFlags.h"

namespace surftally {

// Connection flags from the kernel: the default routes in /proc/net/route and
// /proc/net/ipv6_route and the interfaces in /sys/class/net, all read under a root folder
// (the real "/" in the program, a fixture tree in tests).
//
// Connected through a modem when the default route leaves through a PPP or mobile broadband
// interface (or one named ppp* or wwan*), through a LAN for any other interface that is up.
// A proxy named in the environment adds the proxy bit. With no default route but some
// interface other than lo up, the answer is connected with the "configured" bit alone.
class LinuxConnectionFlags final : public ConnectionFlags {
public:
    // Looks up an environment variable; nothing when it is not set.
    using Environment = std::function<std::optional<std::string>(const std::string& name)>;

    explicit LinuxConnectionFlags(std::filesystem::path root = "/");
    LinuxConnectionFlags(std::filesystem::path root, Environment environment);

    bool connected(std::uint32_t& flags) override;

private:
    struct DefaultRoute {
        std::string interface;
        unsigned long metric = 0;
    };

    std::optional<DefaultRoute> bestDefaultRoute() const;
    std::optional<DefaultRoute> bestIpv4Route() const;
    std::optional<DefaultRoute> bestIpv6Route() const;
    bool interfaceUp(const std::string& name) const;
    bool isModem(const std::string& name) const;
    bool anyInterfaceUp() const;
    bool proxyConfigured() const;
    std::filesystem::path netClass() const;

    std::filesystem::path root_;
    Environment environment_;
};

}  // namespace surftally
