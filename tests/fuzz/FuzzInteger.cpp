// The decimal integer reader (alarm hours, discount, position): it accepts exactly the
// texts that are a decimal integer of 32 bits, and rejects every other one with the
// conversion text.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "store/Conversions.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

namespace {

// Leading blanks, an optional sign, then one or more digits and nothing else, in range.
std::optional<std::int32_t> expectedValue(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(start);
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t nonZero = text.find_first_not_of('0');
    text.remove_prefix(nonZero == std::string_view::npos ? text.size() : nonZero);
    if (text.size() > 10) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (negative) {
        value = -value;
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t value = 0;
    const bool ok = fuzz::readerSucceeds([&] { value = StrToInt(text); });
    const auto expected = expectedValue(text);
    FUZZ_CHECK(ok == expected.has_value());
    if (ok) {
        FUZZ_CHECK(value == *expected);
        FUZZ_CHECK(StrToInt(IntToStr(value)) == value);
    }
    return 0;
}
