#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/InstanceChannel.h"

namespace surftally {

// How a second start on the same data folder reaches the program that runs there: the
// running one keeps a hidden message window named after the folder, the second one asks it
// to bring its strip back and ends. The installer finds the same windows (message-only, of
// class kClass) and posts kCloseRequest to each, so that the program ends in order (saving)
// before its files are replaced. Windows of other sessions are out of its reach: for them
// the installer signals the event kCloseEvent, which only an administrator can create and
// which a listening program looks for once a second.
class WinInstanceChannel final : public InstanceChannel {
public:
    static constexpr const wchar_t* kClass = L"SurftallyInstance";
    // WM_APP + 2, posted by the installer (packaging/windows/surftally.nsi).
    static constexpr unsigned kCloseRequest = 0x8002;
    static constexpr const wchar_t* kCloseEvent = L"Global\\Surftally close request";

    explicit WinInstanceChannel(const std::filesystem::path& folder);
    ~WinInstanceChannel() override;
    WinInstanceChannel(const WinInstanceChannel&) = delete;
    WinInstanceChannel& operator=(const WinInstanceChannel&) = delete;

    // The running program: onRequest runs on this thread, from its message loop, for every
    // request; onClose for every close request. False when the window cannot be created.
    bool listen(std::function<void()> onRequest, std::function<void()> onClose = {}) override;

    // A second start: asks the running program, waiting up to timeoutMs for it to listen (it
    // holds the folder's lock a moment before) and to answer. False when no program of this
    // session listens on the folder within that time or it did not answer.
    bool ask(int timeoutMs) const override;

    const std::wstring& name() const { return name_; }

    // The window procedure's part; public for the procedure only.
    bool request();
    void closeRequest();

private:
    void watch(void* window);

    std::wstring name_;
    void* window_ = nullptr;
    std::function<void()> onRequest_;
    std::function<void()> onClose_;
    void* stop_ = nullptr;  // ends the watcher
    std::thread watcher_;   // turns the installer's event into a close request
};

}  // namespace surftally
