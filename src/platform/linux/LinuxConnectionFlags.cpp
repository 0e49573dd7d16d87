#include "platform/linux/LinuxConnectionFlags.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace surftally {

namespace {

// Route and interface flags of the kernel's headers, repeated so that this file builds from
// the standard library alone.
constexpr unsigned long kRouteUp = 0x0001;
constexpr unsigned long kRouteReject = 0x0200;
constexpr unsigned long kInterfaceUp = 0x1;
constexpr unsigned long kTypePpp = 512;

std::optional<unsigned long> ParseNumber(std::string_view text, int base) {
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

// The first line of a small file, without blanks at its end; nothing when it cannot be read.
std::optional<std::string> FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
    }
    return line;
}

// A name the kernel could give an interface; anything else is never joined to a path.
bool PlausibleInterface(const std::string& name) {
    return !name.empty() && name.size() < 64 && name != "." && name != ".." &&
           name.find('/') == std::string::npos && name != "lo" && name != "*";
}

bool AllZeros(std::string_view hex) {
    return !hex.empty() && std::all_of(hex.begin(), hex.end(), [](char c) { return c == '0'; });
}

std::optional<std::string> ProcessEnvironment(const std::string& name) {
    if (const char* value = std::getenv(name.c_str())) {
        return std::string(value);
    }
    return std::nullopt;
}

}  // namespace

LinuxConnectionFlags::LinuxConnectionFlags(std::filesystem::path root)
    : LinuxConnectionFlags(std::move(root), ProcessEnvironment) {}

LinuxConnectionFlags::LinuxConnectionFlags(std::filesystem::path root, Environment environment)
    : root_(std::move(root)), environment_(std::move(environment)) {}

std::filesystem::path LinuxConnectionFlags::netClass() const {
    return root_ / "sys" / "class" / "net";
}

bool LinuxConnectionFlags::connected(std::uint32_t& flags) {
    flags = 0;
    if (const auto route = bestDefaultRoute()) {
        flags = isModem(route->interface) ? kModem : kLan;
        if (proxyConfigured()) {
            flags |= kProxy;
        }
        return true;
    }
    // A network without a way out: configured, but neither modem nor LAN.
    if (anyInterfaceUp()) {
        flags = kConfigured;
        return true;
    }
    return false;
}

std::optional<LinuxConnectionFlags::DefaultRoute> LinuxConnectionFlags::bestDefaultRoute() const {
    // IPv4 first; an IPv6 default route alone also leads out.
    if (auto route = bestIpv4Route()) {
        return route;
    }
    return bestIpv6Route();
}

std::optional<LinuxConnectionFlags::DefaultRoute> LinuxConnectionFlags::bestIpv4Route() const {
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
    std::ifstream in(root_ / "proc" / "net" / "route");
    std::optional<DefaultRoute> best;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        const auto w = Words(line);
        if (w.size() < 8) {
            continue;
        }
        const auto destination = ParseNumber(w[1], 16);
        const auto routeFlags = ParseNumber(w[3], 16);
        const auto metric = ParseNumber(w[6], 10);
        const auto mask = ParseNumber(w[7], 16);
        if (!destination || !routeFlags || !metric || !mask || *destination != 0 || *mask != 0 ||
            !(*routeFlags & kRouteUp) || (*routeFlags & kRouteReject) ||
            !PlausibleInterface(w[0]) || !interfaceUp(w[0])) {
            continue;
        }
        if (!best || *metric < best->metric) {
            best = DefaultRoute{w[0], *metric};
        }
    }
    return best;
}

std::optional<LinuxConnectionFlags::DefaultRoute> LinuxConnectionFlags::bestIpv6Route() const {
    // Destination PrefixLength Source SourcePrefixLength NextHop Metric RefCnt Use Flags Device
    std::ifstream in(root_ / "proc" / "net" / "ipv6_route");
    std::optional<DefaultRoute> best;
    std::string line;
    while (std::getline(in, line)) {
        const auto w = Words(line);
        if (w.size() < 10) {
            continue;
        }
        const auto prefix = ParseNumber(w[1], 16);
        const auto metric = ParseNumber(w[5], 16);
        const auto routeFlags = ParseNumber(w[8], 16);
        if (!AllZeros(w[0]) || !prefix || !metric || !routeFlags || *prefix != 0 ||
            !(*routeFlags & kRouteUp) || (*routeFlags & kRouteReject) ||
            !PlausibleInterface(w[9]) || !interfaceUp(w[9])) {
            continue;
        }
        if (!best || *metric < best->metric) {
            best = DefaultRoute{w[9], *metric};
        }
    }
    return best;
}

bool LinuxConnectionFlags::interfaceUp(const std::string& name) const {
    const auto dir = netClass() / name;
    const auto flagsText = FirstLine(dir / "flags");
    const auto interfaceFlags = flagsText ? ParseNumber(*flagsText, 16) : std::nullopt;
    if (!interfaceFlags || !(*interfaceFlags & kInterfaceUp)) {
        return false;
    }
    // Administratively up is not enough: the link must be operational. Point-to-point links
    // and tunnels report "unknown", which counts as up.
    const auto operstate = FirstLine(dir / "operstate");
    return !operstate || *operstate == "up" || *operstate == "unknown";
}

bool LinuxConnectionFlags::isModem(const std::string& name) const {
    if (name.rfind("ppp", 0) == 0 || name.rfind("wwan", 0) == 0) {
        return true;
    }
    const auto dir = netClass() / name;
    if (const auto type = FirstLine(dir / "type")) {
        if (ParseNumber(*type, 10) == kTypePpp) {
            return true;
        }
    }
    std::ifstream uevent(dir / "uevent");
    for (std::string line; std::getline(uevent, line);) {
        if (line == "DEVTYPE=wwan") {
            return true;
        }
    }
    return false;
}

bool LinuxConnectionFlags::anyInterfaceUp() const {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(netClass(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (PlausibleInterface(name) && interfaceUp(name)) {
            return true;
        }
    }
    return false;
}

bool LinuxConnectionFlags::proxyConfigured() const {
    for (const char* name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"}) {
        const auto value = environment_(name);
        if (value && !value->empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace surftally
