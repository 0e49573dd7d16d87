#include "store/StoreErrors.h"

#include <cerrno>

namespace surftally {

namespace {
constexpr std::size_t kMaxShownChars = 64;
constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorPathNotFound = 3;
}  // namespace

InOutError InOutError::fileNotFound() {
    return InOutError(ENOENT, "File not found");
}

InOutError InOutError::fromErrno(int code) {
    if (code == ENOENT) {
        return fileNotFound();
    }
    return InOutError(code, "I/O error " + std::to_string(code));
}

InOutError InOutError::fromWin32(unsigned long code) {
    const int number = static_cast<int>(code);
    if (code == kErrorFileNotFound || code == kErrorPathNotFound) {
        return InOutError(number, "File not found");
    }
    return InOutError(number, "I/O error " + std::to_string(code));
}

ConvertError::ConvertError(std::string_view offending)
    : StoreError("'" + shown(offending) + "' is not a valid integer value") {}

std::string ConvertError::shown(std::string_view offending) {
    std::string out;
    const bool cut = offending.size() > kMaxShownChars;
    if (cut) {
        offending = offending.substr(0, kMaxShownChars);
    }
    out.reserve(offending.size() + 3);
    for (const char c : offending) {
        const auto u = static_cast<unsigned char>(c);
        out.push_back(u < 0x20 || u == 0x7f ? '?' : c);
    }
    if (cut) {
        out += "...";
    }
    return out;
}

}  // namespace surftally
