#pragma once

#include "platform/ConnectionFlags.h"

namespace surftally {

// The connection state as Windows reports it (InternetGetConnectedState).
class WinConnectionFlags final : public ConnectionFlags {
public:
    bool connected(std::uint32_t& flags) override;
};

}  // namespace surftally
