#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "store/ReplaceFile.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

// A scanner, a backup or the search indexer may hold a file for a moment without sharing it.
constexpr ULONGLONG kRetryMs = 1000;
constexpr DWORD kPauseMs = 20;

bool transient(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

// Runs a step that returns a system error number again while it fails with a sharing error,
// for up to about a second; then its last error is the answer.
template <class Step>
DWORD retried(Step&& step) {
    const ULONGLONG deadline = ::GetTickCount64() + kRetryMs;
    for (;;) {
        const DWORD error = step();
        if (!transient(error) || ::GetTickCount64() >= deadline) {
            return error;
        }
        ::Sleep(kPauseMs);
    }
}

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

// The file a write replaces: path itself, or, where path is a link (a reparse point), the
// file it finally leads to, so that the link stays and what it points at gets the new content.
std::filesystem::path followLinks(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const HANDLE file =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw InOutError::fromWin32(::GetLastError());
    }
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = 0;
    for (;;) {
        length = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length < name.size()) {
            break;
        }
        name.resize(length + 1);
    }
    const DWORD error = length == 0 ? ::GetLastError() : ERROR_SUCCESS;
    ::CloseHandle(file);
    if (error != ERROR_SUCCESS) {
        throw InOutError::fromWin32(error);
    }
    name.resize(length);
    return name;
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& requested, std::string_view content) {
    const std::filesystem::path target = followLinks(requested);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

    // A file the user made read-only stays as it is. Windows refuses to move over it anyway;
    // Wine does not, so the attribute is checked here.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw InOutError::fromWin32(ERROR_ACCESS_DENIED);
    }

    // One program writes a data folder (the folder's lock), so one fixed name per file is
    // enough. A writer ended before its move leaves at most this one file, which the next
    // write truncates and starts afresh.
    const std::filesystem::path temp = folder / (target.filename().wstring() + L".tmp");
    HANDLE file = INVALID_HANDLE_VALUE;
    if (const DWORD opened = retried([&] {
            file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            return file == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
        });
        opened != ERROR_SUCCESS) {
        throw InOutError::fromWin32(opened);
    }
    DWORD error = writeAll(file, content);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file)) {
        error = ::GetLastError();
    }
    if (!::CloseHandle(file) && error == ERROR_SUCCESS) {
        error = ::GetLastError();
    }
    // One step that puts the new file in the old one's place, flushed before it returns.
    if (error == ERROR_SUCCESS) {
        error = retried([&] {
            return ::MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                       ? ERROR_SUCCESS
                       : ::GetLastError();
        });
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temp.c_str());
        throw InOutError::fromWin32(error);
    }
}

}  // namespace surftally
