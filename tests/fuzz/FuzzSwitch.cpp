// The switch reader: trimmed "On" or "Off", case counting; everything else leaves the switch.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/Conversions.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::optional<bool> value;
    FUZZ_CHECK(fuzz::readerSucceeds([&] { value = ReadSwitch(line); }));
    const std::string_view trimmed = Trim(line);
    FUZZ_CHECK(value.has_value() == (trimmed == "On" || trimmed == "Off"));
    if (value) {
        FUZZ_CHECK(trimmed == SwitchText(*value));
    }
    return 0;
}
