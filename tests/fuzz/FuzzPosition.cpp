// The position reader: trimmed "-1" is the default; any other text is a decimal integer,
// taken untrimmed, or the conversion text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/Conversions.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    constexpr std::int32_t kDefault = 701;
    std::int32_t value = 0;
    const bool ok = fuzz::readerSucceeds([&] { value = ReadPosition(line, kDefault); });
    if (Trim(line) == "-1") {
        FUZZ_CHECK(ok && value == kDefault);
        return 0;
    }
    std::int32_t plain = 0;
    const bool plainOk = fuzz::readerSucceeds([&] { plain = StrToInt(line); });
    FUZZ_CHECK(ok == plainOk);
    FUZZ_CHECK(!ok || value == plain);
    return 0;
}
