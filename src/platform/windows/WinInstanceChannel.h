#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace surftally {

// How a second start on the same data folder reaches the program that runs there: the
// running one keeps a hidden message window named after the folder, the second one asks it
// to bring its strip back and ends.
class WinInstanceChannel {
public:
    explicit WinInstanceChannel(const std::filesystem::path& folder);
    ~WinInstanceChannel();
    WinInstanceChannel(const WinInstanceChannel&) = delete;
    WinInstanceChannel& operator=(const WinInstanceChannel&) = delete;

    // The running program: onRequest runs on this thread, from its message loop, for every
    // request. False when the window cannot be created.
    bool listen(std::function<void()> onRequest);

    // A second start: asks the running program, waiting up to timeoutMs for it to answer.
    // False when no program listens on the folder or it did not answer.
    bool ask(int timeoutMs) const;

    const std::wstring& name() const { return name_; }

    // The window procedure's part; public for the procedure only.
    bool request();

private:
    std::wstring name_;
    void* window_ = nullptr;
    std::function<void()> onRequest_;
};

}  // namespace surftally
