#pragma once

#include <cstdint>

#include "platform/ConnectionFlags.h"

namespace surftally {

// Connection state set by the test.
class FakeConnectionFlags final : public ConnectionFlags {
public:
    bool connected(std::uint32_t& flags) override {
        ++calls;
        flags = bits;
        return result;
    }

    void setOnline(std::uint32_t b) {
        result = true;
        bits = b;
    }
    void setOffline() {
        result = false;
        bits = 0;
    }

    bool result = false;
    std::uint32_t bits = 0;
    int calls = 0;
};

}  // namespace surftally
