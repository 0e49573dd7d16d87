#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "store/ReplaceFile.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

int writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // best effort: the rename is already done
        ::close(fd);
    }
}

// The file a write replaces: path itself, or the file a link there leads to (through a chain
// of links), so that the link stays and what it points at gets the new content. A link that
// leads nowhere gives the name its target would have.
std::filesystem::path followLinks(std::filesystem::path path) {
    constexpr int kMostLinks = 40;  // as the kernel allows in one path
    for (int hops = 0; hops < kMostLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return path;
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) {
            throw InOutError::fromErrno(ec.value());
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    throw InOutError::fromErrno(ELOOP);
}

// Why an existing file may not be replaced: the user made it read-only (no write permission
// for anyone, which a rewrite in place would respect even for root), or this process may not
// write it. 0 when it may be replaced or does not exist yet.
int refusal(const std::filesystem::path& target, const struct stat& old) {
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    return 0;
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& requested, std::string_view content) {
    const std::filesystem::path target = followLinks(requested);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

    // Keep the old file's permissions where there is one, and its protection.
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (const int error = refusal(target, old)) {
            throw InOutError::fromErrno(error);
        }
        mode = old.st_mode & 07777;
    }

    // One program writes a data folder (the folder's lock), so one fixed name per file is
    // enough. A writer killed before its rename leaves at most this one file, which the next
    // write starts afresh.
    const std::filesystem::path temp = folder / (target.filename().string() + ".tmp");
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        throw InOutError::fromErrno(errno);
    }
    int error = writeAll(fd, content);
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        throw InOutError::fromErrno(error);
    }
    syncFolder(folder);
}

}  // namespace surftally
