// The balance text reader: fields by position, each a decimal integer; a well-formed
// balance text converts and comes back unchanged; anything the writer produces is well formed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/Conversions.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t seconds = 0;
    const bool ok = fuzz::readerSucceeds([&] { seconds = BalanceToSeconds(text); });
    if (ok) {
        const std::int64_t expected = std::int64_t{StrToInt(Field(text, 1, 3))} * 3600 +
                                      std::int64_t{StrToInt(Field(text, 5, 2))} * 60 +
                                      StrToInt(Field(text, 8, 2));
        FUZZ_CHECK(seconds == expected);
    }
    if (IsBalanceText(text)) {
        FUZZ_CHECK(ok);
        FUZZ_CHECK(SecondsToBalance(seconds) == text);
    }

    // Whatever number of seconds comes in, the text written is one the reader takes back.
    if (size >= sizeof(std::int64_t)) {
        std::int64_t any = 0;
        std::memcpy(&any, data, sizeof any);
        const std::string written = SecondsToBalance(any);
        FUZZ_CHECK(IsBalanceText(written));
        constexpr std::int64_t kMax = 999 * 3600 + 59 * 60 + 59;
        FUZZ_CHECK(BalanceToSeconds(written) == std::clamp<std::int64_t>(any, 0, kMax));
    }
    return 0;
}
