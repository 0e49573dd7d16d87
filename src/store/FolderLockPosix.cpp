#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "store/FolderLock.h"
#include "store/StoreErrors.h"

namespace surftally {

FolderLock::Outcome FolderLock::tryAcquire(const std::filesystem::path& folder) {
    release();
    error_.clear();
    const std::filesystem::path file = folder / kFileName;
    // A lock held through flock belongs to the open file, not to the process: a second open
    // in this same process is refused too, and closing another descriptor of the file keeps
    // it. O_CLOEXEC keeps it from programs this one starts.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    const int openError = errno;
    if (fd < 0 && (openError == EACCES || openError == EROFS || openError == EPERM)) {
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        error_ = InOutError::fromErrno(openError).what();
        return Outcome::Failed;
    }
    int locked = 0;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int lockError = errno;
        ::close(fd);
        if (lockError == EWOULDBLOCK) {
            return Outcome::HeldElsewhere;
        }
        error_ = InOutError::fromErrno(lockError).what();
        return Outcome::Failed;
    }
    handle_ = fd;
    return Outcome::Acquired;
}

void FolderLock::release() {
    if (handle_ != kNone) {
        ::close(static_cast<int>(handle_));  // closing the only descriptor drops the lock
        handle_ = kNone;
    }
}

}  // namespace surftally
