#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <string>

#include "ReplaceFile.h"
#include "StoreErrors.h"

namespace surftally {

namespace {

std::atomic<unsigned> tempCounter{0};

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

std::string tempPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".tmp.";
}

// A writer killed between creating its temporary file and renaming it leaves that file
// behind. Temporaries are named ".<name>.tmp.<pid>.<n>"; those of processes that no longer
// exist are removed before a new one is made, so that they never pile up. Best effort: a
// failure here never stops the write.
void removeStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        pid_t pid = 0;
        const auto [next, error] = std::from_chars(first, last, pid);
        if (error != std::errc() || next == first || next == last || *next != '.' || pid <= 0 ||
            pid == ::getpid()) {
            continue;
        }
        if (::kill(pid, 0) != 0 && errno == ESRCH) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = tempPrefix(target);
    removeStaleTemporaries(folder, prefix);

    // Keep the old file's permissions where there is one.
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    }

    // A name this process has not used yet can still exist: left by a killed process that had
    // the same number (after a restart, say). Such a name is skipped, never written into.
    std::filesystem::path temp;
    int fd = -1;
    do {
        temp = folder / (prefix + std::to_string(::getpid()) + "." +
                         std::to_string(tempCounter.fetch_add(1)));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EEXIST);
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
