#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// What a child process of InChildProcess ended with: its exit code (128 and the signal's number
// where a signal ended it) and the text it handed back.
struct ChildRun {
    int exitCode = 0;
    std::string output;
};

// Runs body in a child process once enter() has set the child up (its own namespaces and
// mounts), so that a test can change what the whole process sees without touching the
// machine. body gives the exit code and may fill the text handed back. Gives nothing where
// enter() failed, as where the machine does not permit namespaces.
inline std::optional<ChildRun> InChildProcess(const std::function<bool()>& enter,
                                              const std::function<int(std::string&)>& body) {
    int out[2];
    if (::pipe(out) != 0) {
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(out[0]);
        ::close(out[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(out[0]);
        // The first byte says whether the child was set up, before body runs: a body that
        // crashes still counts as run.
        const bool ready = enter();
        std::string text = ready ? "+" : "-";
        (void)!::write(out[1], text.data(), text.size());
        int code = 0;
        if (ready) {
            text.clear();
            code = body(text);
            for (std::size_t done = 0; done < text.size();) {
                const ssize_t n = ::write(out[1], text.data() + done, text.size() - done);
                if (n <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
        }
        ::close(out[1]);
        ::_exit(code);
    }
    ::close(out[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (result.empty() || result[0] != '+') {
        return std::nullopt;
    }
    return ChildRun{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                    result.substr(1)};
}

// Runs body in a child process with a private mount namespace and a small tmpfs mounted at
// folder, so that a test can fill a disk or make it read-only. Gives the child's exit code,
// or nothing where the machine does not permit namespaces.
inline std::optional<int> InTmpfs(const std::filesystem::path& folder, const std::string& size,
                                  const std::function<int()>& body) {
    const auto run = InChildProcess(
        [&] {
            return ::unshare(CLONE_NEWNS) == 0 &&
                   ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
        },
        [&](std::string&) { return body(); });
    if (!run) {
        return std::nullopt;
    }
    return run->exitCode;
}

inline bool RemountReadOnly(const std::filesystem::path& folder) {
    return ::mount("none", folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
