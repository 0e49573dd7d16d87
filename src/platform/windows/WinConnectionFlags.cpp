#include "platform/windows/WinConnectionFlags.h"

#include <windows.h>
#include <wininet.h>

namespace surftally {

static_assert(ConnectionFlags::kModem == INTERNET_CONNECTION_MODEM);
static_assert(ConnectionFlags::kLan == INTERNET_CONNECTION_LAN);
static_assert(ConnectionFlags::kProxy == INTERNET_CONNECTION_PROXY);
static_assert(ConnectionFlags::kModemBusy == INTERNET_CONNECTION_MODEM_BUSY);
static_assert(ConnectionFlags::kConfigured == INTERNET_CONNECTION_CONFIGURED);

bool WinConnectionFlags::connected(std::uint32_t& flags) {
    DWORD state = 0;
    const bool result = ::InternetGetConnectedState(&state, 0) != FALSE;
    flags = state;
    return result;
}

}  // namespace surftally
