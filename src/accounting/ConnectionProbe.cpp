#include "accounting/ConnectionProbe.h"

#include <cstdint>

#include "platform/ConnectionFlags.h"

namespace surftally {

bool ProbeConnection(ConnectionFlags& flags, std::string& text) {
    text = Connection::OffLine;
    std::uint32_t bits = 0;
    if (!flags.connected(bits)) {
        return false;
    }
    // Later matches overwrite earlier ones: a LAN through a proxy reads "Proxy".
    if (bits & ConnectionFlags::kModem) {
        text = Connection::Modem;
    }
    if (bits & ConnectionFlags::kLan) {
        text = Connection::Lan;
    }
    if (bits & ConnectionFlags::kProxy) {
        text = Connection::Proxy;
    }
    if (bits & ConnectionFlags::kModemBusy) {
        text = Connection::ModemBusy;
    }
    return true;
}

bool IsOnline(bool probeResult, const std::string& text) {
    return probeResult && (text == Connection::Modem || text == Connection::Lan);
}

}  // namespace surftally
