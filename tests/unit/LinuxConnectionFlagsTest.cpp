#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "accounting/ConnectionProbe.h"
#include "platform/linux/LinuxConnectionFlags.h"
#include "tests/support/MountNamespace.h"
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

// The flags' answer, as "true 0x2" or "false 0x0".
std::string Answer(bool connected, std::uint32_t bits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s 0x%x", connected ? "true" : "false", bits);
    return text;
}

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
        return Answer(connected, bits);
    }

    TempFolder root;
};

std::string DefaultVia(const std::string& interface, int metric = 0) {
    return interface + "\t00000000\t010200C0\t0003\t0\t0\t" + std::to_string(metric) +
           "\t00000000\t0\t0\t0\n";
}

// A kernel tree laid out, and the answer the flags give over it.
struct Interface {
    std::string name;
    int type;
    std::string flags;
    std::string operstate;
    std::string uevent = "";
};
struct TreeCase {
    const char* what = "";
    std::optional<std::string> routes = {};  // the IPv4 table's lines; none: no table
    std::optional<std::string> ipv6Routes = {};
    std::vector<Interface> interfaces = {};
    std::map<std::string, std::string> environment = {};
    std::string expected = {};
};

void expectAnswers(const std::vector<TreeCase>& cases) {
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.what);
        KernelTree k;
        if (c.routes) {
            k.routes(*c.routes);
        }
        if (c.ipv6Routes) {
            k.ipv6Routes(*c.ipv6Routes);
        }
        for (const Interface& i : c.interfaces) {
            k.interface(i.name, i.type, i.flags, i.operstate, i.uevent);
        }
        EXPECT_EQ(k.answer(c.environment), c.expected);
    }
}

TEST(LinuxConnectionFlagsTest, LinkKindOfTheDefaultRoute) {
    const Interface eth0{"eth0", 1, "0x1003", "up"};
    const Interface lo{"lo", 772, "0x9", "unknown"};
    expectAnswers({
        {.what = "PPP by its type",
         .routes = DefaultVia("dsl0"),
         .interfaces = {{"dsl0", 512, "0x10d1", "unknown"}},
         .expected = Answer(true, kModem)},
        {.what = "mobile broadband by its device type",
         .routes = DefaultVia("usb0"),
         .interfaces = {{"usb0", 1, "0x1003", "up", "DEVTYPE=wwan\n"}},
         .expected = Answer(true, kModem)},
        {.what = "modem by its name",
         .routes = DefaultVia("wwan0"),
         .interfaces = {{"wwan0", 65534, "0x1091", "unknown"}},
         .expected = Answer(true, kModem)},
        {.what = "Ethernet",
         .routes =
             DefaultVia("eth0") + "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n",
         .interfaces = {eth0, lo},
         .expected = Answer(true, kLan)},
        {.what = "the route with the lowest metric decides",
         .routes = DefaultVia("eth0", 100) + DefaultVia("ppp0", 5),
         .interfaces = {eth0, {"ppp0", 512, "0x10d1", "unknown"}},
         .expected = Answer(true, kModem)},
        {.what = "IPv6 default route alone",
         .routes = "",
         .ipv6Routes =
             "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
             "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n" +
             std::string(kIpv6LoReject),
         .interfaces = {eth0},
         .expected = Answer(true, kLan)},
    });
}

TEST(LinuxConnectionFlagsTest, NoWayOut) {
    const Interface eth0{"eth0", 1, "0x1003", "up"};
    const Interface lo{"lo", 772, "0x9", "unknown"};
    expectAnswers({
        {.what = "reject and unreachable routes, an interface up: configured alone",
         .routes = "*\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n" + DefaultVia("lo"),
         .ipv6Routes = kIpv6LoReject,
         .interfaces = {lo, eth0},
         .environment = {{"http_proxy", "http://proxy:3128"}},
         .expected = Answer(true, kConfigured)},
        {.what = "the route's interface is down",
         .routes = DefaultVia("eth0"),
         .interfaces = {{"eth0", 1, "0x1002", "down"}, lo},
         .expected = Answer(false, 0)},
        {.what = "up, but the cable is out",
         .routes = DefaultVia("eth0"),
         .interfaces = {{"eth0", 1, "0x1003", "lowerlayerdown"}},
         .expected = Answer(false, 0)},
        {.what = "a route through an interface that sysfs does not show",
         .routes = DefaultVia("eth0"),
         .expected = Answer(false, 0)},
        {.what = "nothing readable at all", .expected = Answer(false, 0)},
        {.what = "garbage in the route table",
         .routes = "eth0 zz yy\n\n../../etc\t00000000\t0\t0003\t0\t0\t0\t00000000\n",
         .ipv6Routes = "short line\n",
         .interfaces = {eth0},
         .expected = Answer(true, kConfigured)},
    });
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
    const auto run = InChildProcess(
        [] {
            return ::unshare(CLONE_NEWNET | CLONE_NEWNS) == 0 &&
                   ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   ::mount("sysfs", "/sys", "sysfs", 0, nullptr) == 0 &&
                   std::system("ip link set lo up >/dev/null 2>&1") == 0;
        },
        [&](std::string& output) {
            output = body();
            return 0;
        });
    if (!run || run->output.empty()) {
        return std::nullopt;
    }
    return run->output;
}

TEST(LinuxConnectionFlagsTest, RealNetworkNamespace) {
    const auto answers = InNetworkNamespace([] {
        LinuxConnectionFlags flags("/", [](const std::string&) { return std::nullopt; });
        std::string log;
        // The kernel settles a link's operational state shortly after a change; wait for the
        // expected answer for up to five seconds and record what was seen.
        const auto step = [&](const std::string& commands, const std::string& expected) {
            if (std::system((commands + " >/dev/null 2>&1").c_str()) != 0) {
                log += "command failed: " + commands + "\n";
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
        // A veth link, its peer up, that carries the default route to the subnet's .2.
        const auto defaultRouteThrough = [](const std::string& link, const std::string& peer,
                                            const std::string& subnet) {
            return "ip link add " + link + " type veth peer name " + peer + " && ip link set " +
                   peer + " up && ip link set " + link + " up && ip addr add " + subnet +
                   ".1/24 dev " + link + " && ip route add default via " + subnet + ".2 dev " +
                   link;
        };
        step(defaultRouteThrough("eth0", "peer0", "10.9.0"), Answer(true, kLan));
        step("ip link set peer0 down", Answer(false, 0));
        step("ip link set peer0 up && ip route del default", Answer(true, kConfigured));
        step(defaultRouteThrough("ppp0", "peer1", "10.8.0"), Answer(true, kModem));
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
