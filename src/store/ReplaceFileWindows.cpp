#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "ReplaceFile.h"
#include "StoreErrors.h"

namespace surftally {

namespace {

DWORD writeAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(content.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr)) {
            return ::GetLastError();
        }
        content.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

    // One program writes a data folder (the folder's lock), so one fixed name per file is
    // enough. A writer ended before its move leaves at most this one file, which the next
    // write truncates and starts afresh.
    const std::filesystem::path temp = folder / (target.filename().wstring() + L".tmp");
    const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw InOutError::fromWin32(::GetLastError());
    }
    DWORD error = writeAll(file, content);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file)) {
        error = ::GetLastError();
    }
    if (!::CloseHandle(file) && error == ERROR_SUCCESS) {
        error = ::GetLastError();
    }
    // One step that puts the new file in the old one's place, flushed before it returns.
    if (error == ERROR_SUCCESS &&
        !::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temp.c_str());
        throw InOutError::fromWin32(error);
    }
}

}  // namespace surftally
