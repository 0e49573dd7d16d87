#include <cerrno>
#include <cstdlib>

#include "store/DataFolderPlatform.h"

namespace surftally::folder_system {

std::filesystem::path systemFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::filesystem::path(xdg) / "Surftally";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "Surftally";
}

std::FILE* openForReading(const std::filesystem::path& file) {
    errno = 0;
    return std::fopen(file.c_str(), "rb");
}

InOutError lastFileError(int fallback) {
    return InOutError::fromErrno(errno != 0 ? errno : fallback);
}

InOutError statusError(const std::error_code& ec) {
    return InOutError::fromErrno(ec.value());
}

}  // namespace surftally::folder_system
