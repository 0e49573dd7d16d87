#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <string>

#include "ReplaceFile.h"
#include "StoreErrors.h"

namespace surftally {

namespace {

std::atomic<unsigned> tempCounter{0};

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

// Whether no process with this number runs any more.
bool processGone(DWORD pid) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool gone = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return gone;
}

// A writer ended between creating its temporary file and moving it (killed, a power cut)
// leaves that file behind. Temporaries are named ".<name>.tmp.<pid>.<n>"; those of processes
// that no longer run are removed before a new one is made, so that they never pile up. Best
// effort: a failure here never stops the write.
void removeStaleTemporaries(const std::filesystem::path& folder, const std::wstring& prefix) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::wstring name = it->path().filename().wstring();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        std::size_t i = prefix.size();
        unsigned long long pid = 0;
        while (i < name.size() && name[i] >= L'0' && name[i] <= L'9' && pid <= MAXDWORD) {
            pid = pid * 10 + static_cast<unsigned>(name[i] - L'0');
            ++i;
        }
        if (i == prefix.size() || i >= name.size() || name[i] != L'.' || pid > MAXDWORD ||
            pid == ::GetCurrentProcessId()) {
            continue;
        }
        if (processGone(static_cast<DWORD>(pid))) {
            ::DeleteFileW(it->path().c_str());
        }
    }
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::wstring prefix = L"." + target.filename().wstring() + L".tmp.";
    removeStaleTemporaries(folder, prefix);

    // A name this process has not used yet can still exist: left by an ended process that had
    // the same number. Such a name is skipped, never written into.
    std::filesystem::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD openError = ERROR_SUCCESS;
    do {
        temp = folder / (prefix + std::to_wstring(::GetCurrentProcessId()) + L"." +
                         std::to_wstring(tempCounter.fetch_add(1)));
        file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        openError = file == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
    } while (openError == ERROR_FILE_EXISTS || openError == ERROR_ALREADY_EXISTS);
    if (file == INVALID_HANDLE_VALUE) {
        throw InOutError::fromWin32(openError);
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
