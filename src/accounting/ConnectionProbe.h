#pragma once

#include <string>

namespace surftally {

class ConnectionFlags;

// Writes the connection text ("Off - Line", "Modem", "LAN Internet", "Proxy" or "Modem Busy")
// and returns whether the platform reports a connection.
bool ProbeConnection(ConnectionFlags& flags, std::string& text);

// The one rule for on-line: the probe said yes and the text is "Modem" or "LAN Internet".
bool IsOnline(bool probeResult, const std::string& text);

}  // namespace surftally
