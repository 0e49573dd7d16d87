#include "ConnectionProbe.h"

#include <cstdint>

#include "ConnectionFlags.h"

namespace surftally {

bool ProbeConnection(ConnectionFlags& flags, std::string& text) {
    text = "Off - Line";
    std::uint32_t bits = 0;
    if (!flags.connected(bits)) {
        return false;
    }
    // Later matches overwrite earlier ones: a LAN through a proxy reads "Proxy".
    if (bits & ConnectionFlags::kModem) {
        text = "Modem";
    }
    if (bits & ConnectionFlags::kLan) {
        text = "LAN Internet";
    }
    if (bits & ConnectionFlags::kProxy) {
        text = "Proxy";
    }
    if (bits & ConnectionFlags::kModemBusy) {
        text = "Modem Busy";
    }
    return true;
}

bool IsOnline(bool probeResult, const std::string& text) {
    return probeResult && (text == "Modem" || text == "LAN Internet");
}

}  // namespace surftally
