#define NOMINMAX
#include <windows.h>

#include "store/FolderLock.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

HANDLE openLockFile(const std::filesystem::path& file, DWORD access, DWORD disposition) {
    // Others may open the file (a virus scanner, a backup): only the byte lock excludes.
    return ::CreateFileW(file.c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FolderLock::Outcome FolderLock::tryAcquire(const std::filesystem::path& folder) {
    release();
    error_.clear();
    const std::filesystem::path file = folder / kFileName;
    // The handle is not inheritable, so programs this one starts never hold the lock.
    HANDLE h = openLockFile(file, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    const DWORD openError = ::GetLastError();
    if (h == INVALID_HANDLE_VALUE && openError == ERROR_ACCESS_DENIED) {
        h = openLockFile(file, GENERIC_READ, OPEN_EXISTING);
    }
    if (h == INVALID_HANDLE_VALUE) {
        error_ = InOutError::fromWin32(openError).what();
        return Outcome::Failed;
    }
    // A byte lock belongs to its handle: a second handle in this same process is refused too.
    // The system unlocks it when the process ends.
    OVERLAPPED at{};
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD lockError = ::GetLastError();
        ::CloseHandle(h);
        if (lockError == ERROR_LOCK_VIOLATION || lockError == ERROR_IO_PENDING) {
            return Outcome::HeldElsewhere;
        }
        error_ = InOutError::fromWin32(lockError).what();
        return Outcome::Failed;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return Outcome::Acquired;
}

void FolderLock::release() {
    if (handle_ != kNone) {
        const HANDLE h = reinterpret_cast<HANDLE>(handle_);
        OVERLAPPED at{};
        ::UnlockFileEx(h, 0, 1, 0, &at);
        ::CloseHandle(h);
        handle_ = kNone;
    }
}

}  // namespace surftally
