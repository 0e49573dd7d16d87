#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "accounting/ConnectionProbe.h"
#include "platform/linux/LinuxConnectionFlags.h"
#include "tests/support/TempFolder.h"

namespace surftally {
namespace {

constexpr std::uint32_t kModem = ConnectionFlags::kModem;
constexpr std::uint32_t kLan = ConnectionFlags::kLan;
constexpr std::uint32_t kProxy = ConnectionFlags::kProxy;
constexpr std::uint32_t kConfigured = ConnectionFlags::kConfigured;

constexpr const char* kRouteHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
constexpr const char* kIpv6LoReject =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";

// A root folder with the kernel's route tables and interfaces as the test lays them out.
class KernelTree {
public:
    void routes(const std::string& lines) const {
        std::filesystem::create_directories(root.path() / "proc/net");
        root.put("proc/net/route", std::string(kRouteHeader) + lines);
    }
    void ipv6Routes(const std::string& lines) const {
        std::filesystem::create_directories(root.path() / "proc/net");
        root.put("proc/net/ipv6_route", lines);
    }
    void interface(const std::string& name, int type, const std::string& flags,
                   const std::string& operstate, const std::string& uevent = "") const {
        const std::string dir = "sys/class/net/" + name;
        std::filesystem::create_directories(root.path() / dir);
        root.put(dir + "/type", std::to_string(type) + "\n");
        root.put(dir + "/flags", flags + "\n");
        root.put(dir + "/operstate", operstate + "\n");
        root.put(dir + "/uevent", "INTERFACE=" + name + "\n" + uevent);
    }

    // The answer, as "true 0x2" or "false 0x0".
    std::string answer(std::map<std::string, std::string> env = {}) const {
        LinuxConnectionFlags flags(root.path(),
                                   [env](const std::string& n) -> std::optional<std::string> {
                                       const auto it = env.find(n);
                                       if (it == env.end()) {
                                           return std::nullopt;
                                       }
                                       return it->second;
                                   });
        std::uint32_t bits = 0xFF;
        const bool connected = flags.connected(bits);
        char text[32];
        std::snprintf(text, sizeof text, "%s 0x%x", connected ? "true" : "false", bits);
        return text;
    }

    TempFolder root;
};

std::string Answer(bool connected, std::uint32_t bits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s 0x%x", connected ? "true" : "false", bits);
    return text;
}

std::string DefaultVia(const std::string& interface, int metric = 0) {
    return interface + "\t00000000\t010200C0\t0003\t0\t0\t" + std::to_string(metric) +
           "\t00000000\t0\t0\t0\n";
}

TEST(LinuxConnectionFlagsTest, LinkKindOfTheDefaultRoute) {
    {
        SCOPED_TRACE("PPP by its type");
        KernelTree k;
        k.routes(DefaultVia("dsl0"));
        k.interface("dsl0", 512, "0x10d1", "unknown");
        EXPECT_EQ(k.answer(), Answer(true, kModem));
    }
    {
        SCOPED_TRACE("mobile broadband by its device type");
        KernelTree k;
        k.routes(DefaultVia("usb0"));
        k.interface("usb0", 1, "0x1003", "up", "DEVTYPE=wwan\n");
        EXPECT_EQ(k.answer(), Answer(true, kModem));
    }
    {
        SCOPED_TRACE("modem by its name");
        KernelTree k;
        k.routes(DefaultVia("wwan0"));
        k.interface("wwan0", 65534, "0x1091", "unknown");
        EXPECT_EQ(k.answer(), Answer(true, kModem));
    }
    {
        SCOPED_TRACE("Ethernet");
        KernelTree k;
        k.routes(DefaultVia("eth0") +
                 "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n");
        k.interface("eth0", 1, "0x1003", "up");
        k.interface("lo", 772, "0x9", "unknown");
        EXPECT_EQ(k.answer(), Answer(true, kLan));
    }
    {
        SCOPED_TRACE("the route with the lowest metric decides");
        KernelTree k;
        k.routes(DefaultVia("eth0", 100) + DefaultVia("ppp0", 5));
        k.interface("eth0", 1, "0x1003", "up");
        k.interface("ppp0", 512, "0x10d1", "unknown");
        EXPECT_EQ(k.answer(), Answer(true, kModem));
    }
    {
        SCOPED_TRACE("IPv6 default route alone");
        KernelTree k;
        k.routes("");
        k.ipv6Routes(
            "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
            "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n" +
            std::string(kIpv6LoReject));
        k.interface("eth0", 1, "0x1003", "up");
        EXPECT_EQ(k.answer(), Answer(true, kLan));
    }
}

TEST(LinuxConnectionFlagsTest, NoWayOut) {
    {
        SCOPED_TRACE("reject and unreachable routes, an interface up: configured alone");
        KernelTree k;
        k.routes("*\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n" + DefaultVia("lo"));
        k.ipv6Routes(kIpv6LoReject);
        k.interface("lo", 772, "0x9", "unknown");
        k.interface("eth0", 1, "0x1003", "up");
        EXPECT_EQ(k.answer({{"http_proxy", "http://proxy:3128"}}), Answer(true, kConfigured));
    }
    {
        SCOPED_TRACE("the route's interface is down");
        KernelTree k;
        k.routes(DefaultVia("eth0"));
        k.interface("eth0", 1, "0x1002", "down");
        k.interface("lo", 772, "0x9", "unknown");
        EXPECT_EQ(k.answer(), Answer(false, 0));
    }
    {
        SCOPED_TRACE("up, but the cable is out");
        KernelTree k;
        k.routes(DefaultVia("eth0"));
        k.interface("eth0", 1, "0x1003", "lowerlayerdown");
        EXPECT_EQ(k.answer(), Answer(false, 0));
    }
    {
        SCOPED_TRACE("a route through an interface that sysfs does not show");
        KernelTree k;
        k.routes(DefaultVia("eth0"));
        EXPECT_EQ(k.answer(), Answer(false, 0));
    }
    {
        SCOPED_TRACE("nothing readable at all");
        KernelTree k;
        EXPECT_EQ(k.answer(), Answer(false, 0));
    }
    {
        SCOPED_TRACE("garbage in the route table");
        KernelTree k;
        k.routes("eth0 zz yy\n\n../../etc\t00000000\t0\t0003\t0\t0\t0\t00000000\n");
        k.ipv6Routes("short line\n");
        k.interface("eth0", 1, "0x1003", "up");
        EXPECT_EQ(k.answer(), Answer(true, kConfigured));
    }
}

TEST(LinuxConnectionFlagsTest, ProxyFromTheEnvironmentInEitherCase) {
    KernelTree k;
    k.routes(DefaultVia("eth0"));
    k.interface("eth0", 1, "0x1003", "up");
    EXPECT_EQ(k.answer({{"https_proxy", "http://proxy:3128"}}), Answer(true, kLan | kProxy));
    EXPECT_EQ(k.answer({{"ALL_PROXY", "socks5://proxy"}}), Answer(true, kLan | kProxy));
    EXPECT_EQ(k.answer({{"http_proxy", ""}, {"no_proxy", "*"}}), Answer(true, kLan));

    // Through the probe, a proxy holds the balance.
    LinuxConnectionFlags flags(k.root.path(), [](const std::string& n) {
        return n == "HTTP_PROXY" ? std::optional<std::string>("http://proxy") : std::nullopt;
    });
    std::string text;
    const bool result = ProbeConnection(flags, text);
    EXPECT_EQ(text, "Proxy");
    EXPECT_FALSE(IsOnline(result, text));
}

// Runs body in a child process with its own network and mount namespaces and a fresh sysfs
// that shows only that network's interfaces. Gives what body returned, or nothing where the
// machine does not permit it.
std::optional<std::string> InNetworkNamespace(const std::function<std::string()>& body) {
    int out[2];
    if (::pipe(out) != 0) {
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(out[0]);
        std::string result = "-";
        if (::unshare(CLONE_NEWNET | CLONE_NEWNS) == 0 &&
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("sysfs", "/sys", "sysfs", 0, nullptr) == 0 &&
            std::system("ip link set lo up >/dev/null 2>&1") == 0) {
            result = body();
        }
        (void)!::write(out[1], result.data(), result.size());
        ::close(out[1]);
        ::_exit(0);
    }
    ::close(out[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (result == "-" || result.empty()) {
        return std::nullopt;
    }
    return result;
}

TEST(LinuxConnectionFlagsTest, RealNetworkNamespace) {
    const auto answers = InNetworkNamespace([] {
        LinuxConnectionFlags flags("/", [](const std::string&) { return std::nullopt; });
        std::string log;
        // The kernel settles a link's operational state shortly after a change; wait for the
        // expected answer for up to five seconds and record what was seen.
        const auto step = [&](const char* commands, const std::string& expected) {
            if (std::system((std::string(commands) + " >/dev/null 2>&1").c_str()) != 0) {
                log += std::string("command failed: ") + commands + "\n";
                return;
            }
            std::string seen;
            for (int i = 0; i < 100; ++i) {
                std::uint32_t bits = 0;
                const bool connected = flags.connected(bits);
                seen = Answer(connected, bits);
                if (seen == expected) {
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            log += seen + "\n";
        };
        step("true", Answer(false, 0));
        step(
            "ip link add eth0 type veth peer name peer0 && ip link set peer0 up && "
            "ip link set eth0 up && ip addr add 10.9.0.1/24 dev eth0 && "
            "ip route add default via 10.9.0.2 dev eth0",
            Answer(true, kLan));
        step("ip link set peer0 down", Answer(false, 0));
        step("ip link set peer0 up && ip route del default", Answer(true, kConfigured));
        step(
            "ip link add ppp0 type veth peer name peer1 && ip link set peer1 up && "
            "ip link set ppp0 up && ip addr add 10.8.0.1/24 dev ppp0 && "
            "ip route add default via 10.8.0.2 dev ppp0",
            Answer(true, kModem));
        step("ip link set eth0 down && ip link set ppp0 down", Answer(false, 0));
        return log;
    });
    if (!answers) {
        GTEST_SKIP() << "network namespaces are not permitted here (unshare of the network and "
                        "mount namespaces, a fresh sysfs and the ip tool need root)";
    }
    std::istringstream in(*answers);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const std::vector<std::string> expected = {
        Answer(false, 0),           // only lo, down
        Answer(true, kLan),         // veth eth0 carries the default route
        Answer(false, 0),           // its peer goes down: no carrier
        Answer(true, kConfigured),  // link back, route gone
        Answer(true, kModem),       // ppp0 carries the default route
        Answer(false, 0),           // both down
    };
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace surftally
