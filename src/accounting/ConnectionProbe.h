#pragma once

#include <string>

namespace surftally {

class ConnectionFlags;

// The connection texts, as the status strip and the tip show them.
namespace Connection {
inline constexpr const char* OffLine = "Off - Line";
inline constexpr const char* Modem = "Modem";
inline constexpr const char* Lan = "LAN Internet";
inline constexpr const char* Proxy = "Proxy";
inline constexpr const char* ModemBusy = "Modem Busy";
}  // namespace Connection

// Writes the connection text (one of Connection's) and returns whether the platform reports a
// connection.
bool ProbeConnection(ConnectionFlags& flags, std::string& text);

// The one rule for on-line: the probe said yes and the text is Modem or Lan.
bool IsOnline(bool probeResult, const std::string& text);

}  // namespace surftally
