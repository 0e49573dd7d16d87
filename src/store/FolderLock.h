#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace surftally {

// One program per data folder: an exclusive lock on the file surftally.lock inside the
// folder. The system drops the lock when the holding process ends, however it ends, so a
// killed program never blocks the next start; programs started from this one do not inherit
// it. Taking it never waits.
class FolderLock {
public:
    enum class Outcome {
        Acquired,       // this object holds the lock until release() or its end
        HeldElsewhere,  // a running program (or another FolderLock here) holds it
        Failed,         // no lock could be taken; error() says why
    };

    static constexpr const char* kFileName = "surftally.lock";

    FolderLock() = default;
    ~FolderLock() { release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Opens (creating it if need be) the lock file of folder and tries to lock it. Where the
    // folder or the file cannot be written the file is opened for reading, which still locks.
    // Failed means the lock file can be neither made nor opened (a read-only folder without
    // one, a missing folder) or the system has no locks there: the caller may run unlocked,
    // since such a folder takes no writes from anyone either.
    Outcome tryAcquire(const std::filesystem::path& folder);

    bool held() const { return handle_ != kNone; }
    void release();

    // The failure's text after Failed: "File not found" or "I/O error N".
    const std::string& error() const { return error_; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;  // a file descriptor, or a Windows HANDLE
    std::string error_;
};

}  // namespace surftally
