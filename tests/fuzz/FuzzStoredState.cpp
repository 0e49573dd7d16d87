// Reading the stored state at start over a fuzzed data folder. The input is a byte of the
// files present, a byte of those present as folders instead of files, then the contents of
// position.dat, remain.dat, alarm.dat and economic.dat separated by 0xFF bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "store/Conversions.h"
#include "store/DataFolder.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/FakeClock.h"

using namespace surftally;

namespace {

constexpr const char* kFiles[] = {"position.dat", "remain.dat", "alarm.dat", "economic.dat",
                                  "srpski.dat"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const unsigned present = data[0];
    const unsigned asFolder = data[1];
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);

    const auto& dir = fuzz::scratchFolder();
    std::error_code ec;
    for (const char* name : kFiles) {
        std::filesystem::remove_all(dir / name, ec);
    }
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        const std::size_t cut = rest.find('\xFF');
        const std::string_view content = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        if ((present & (1u << i)) == 0) {
            continue;
        }
        if ((asFolder & (1u << i)) != 0) {
            std::filesystem::create_directory(dir / kFiles[i]);
        } else {
            fuzz::putFile(kFiles[i], content);
        }
    }

    const DataFolder folder(dir);
    const FakeClock clock;
    SharedState state;
    Serbian = false;
    const int screenHeight = 768;
    StoredStateResult result;
    FUZZ_CHECK(fuzz::readerSucceeds(
        [&] { result = ReadStoredState(state, folder, clock, screenHeight); }));

    if (!result.error.empty()) {
        if (!fuzz::isKnownErrorText(result.error)) {
            fuzz::fail("unknown error text", result.error);
        }
    } else {
        FUZZ_CHECK(result.left.has_value() && result.top.has_value());
        FUZZ_CHECK(Serbian == ((present & 16u) != 0 && (asFolder & 16u) == 0));
        FUZZ_CHECK(state.HoursLeft == state.BaseSeconds / 3600);
    }
    // A balance is taken as known only when its text converts to it: nothing else may ever be
    // saved back as the balance.
    if (state.BalanceKnown) {
        FUZZ_CHECK(BalanceToSeconds(state.RemainText) == state.BaseSeconds);
    }
    return 0;
}
