// The HH:MM reader of the economic period: a time of day on a whole minute, or the
// conversion text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/Conversions.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t seconds = -1;
    if (!fuzz::readerSucceeds([&] { seconds = TimeTextToSeconds(text); })) {
        return 0;
    }
    FUZZ_CHECK(seconds >= 0 && seconds <= 23 * 3600 + 59 * 60 && seconds % 60 == 0);
    const auto digit = [&](std::size_t i) { return text[i] - '0'; };
    FUZZ_CHECK(text.size() >= 5);
    FUZZ_CHECK(seconds == (digit(0) * 10 + digit(1)) * 3600 + (digit(3) * 10 + digit(4)) * 60);
    return 0;
}
