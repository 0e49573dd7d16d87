#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Runs body in a child process with a private mount namespace and a small tmpfs mounted at
// folder, so that a test can fill a disk or make it read-only without touching the machine.
// Gives the child's exit code, or nothing where the machine does not permit namespaces.
inline std::optional<int> InTmpfs(const std::filesystem::path& folder, const std::string& size,
                                  const std::function<int()>& body) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(ready[0]);
        char ok = 0;
        if (::unshare(CLONE_NEWNS) == 0 &&
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0) {
            ok = 1;
        }
        (void)!::write(ready[1], &ok, 1);
        ::close(ready[1]);
        ::_exit(ok ? body() : 0);
    }
    ::close(ready[1]);
    char ok = 0;
    (void)!::read(ready[0], &ok, 1);
    ::close(ready[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!ok) {
        return std::nullopt;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline bool RemountReadOnly(const std::filesystem::path& folder) {
    return ::mount("none", folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
