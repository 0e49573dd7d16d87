#include <cerrno>
#include <cstdlib>

#include "store/DataFolderPlatform.h"

namespace surftally::folder_system {

std::filesystem::path systemFolder() {
    return R"(C:\Program Files\Surftally)";
}

std::FILE* openForReading(const std::filesystem::path& file) {
    errno = 0;
    _doserrno = 0;
    return ::_wfopen(file.c_str(), L"rb");
}

// The number shown is the system's own (GetLastError, kept by the C library in _doserrno), as
// the rest of the system reports it; errno is a translation that loses detail.
InOutError lastFileError(int fallback) {
    if (_doserrno != 0) {
        return InOutError::fromWin32(_doserrno);
    }
    return InOutError::fromErrno(errno != 0 ? errno : fallback);
}

InOutError statusError(const std::error_code& ec) {
    if (ec.category() == std::system_category()) {
        return InOutError::fromWin32(static_cast<unsigned long>(ec.value()));
    }
    return InOutError::fromErrno(ec.value());
}

}  // namespace surftally::folder_system
