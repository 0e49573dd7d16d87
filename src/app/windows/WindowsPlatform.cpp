#include "app/windows/WindowsPlatform.h"

// The portable names first; windows.h makes macros of some of them.
#include "forms/TApplication.h"
#include "forms/Texts.h"
#include "platform/windows/WinConnectionFlags.h"
#include "platform/windows/WinInstanceChannel.h"
#include "platform/windows/WinSystemClock.h"
#include "platform/windows/WinTrayApplication.h"
#include "platform/windows/WinTrayShell.h"

// After the portable names.
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

namespace {

class WindowsSession final : public PlatformSession {
public:
    WindowsSession(Win32Toolkit& toolkit, const std::string& title)
        : toolkit_(toolkit), trayApplication_(title) {}

    ProgramServices services() override {
        return {clock_,
                flags_,
                shell_,
                trayApplication_,
                [this](const std::filesystem::path& file) { trayApplication_.loadIcon(file); },
                {}};
    }

    void onHandlerFailure(std::function<void(std::exception_ptr)> report) override {
        shell_.setOnProcedureError(report);
        trayApplication_.setOnProcedureError(report);
    }

    void connect(Program& program) override {
        // Close on the taskbar button's menu ends the program as "Close Application" does;
        // so does the end of the Windows session.
        trayApplication_.setOnClose([&program] { program.end(); });
        trayApplication_.setOnEndSession([&program] { program.end(); });
    }

    int run() override { return toolkit_.run(); }

private:
    Win32Toolkit& toolkit_;
    WinSystemClock clock_;
    WinConnectionFlags flags_;
    WinTrayShell shell_;
    WinTrayApplication trayApplication_;
};

void showBox(const std::string& text, UINT icon) {
    ::MessageBoxW(nullptr, Wide(text).c_str(), L"Surftally", MB_OK | icon | MB_TOPMOST);
}

class WindowsProgramPlatform final : public ProgramPlatform {
public:
    std::unique_ptr<InstanceChannel> channel(const DataFolder& folder) override {
        return std::make_unique<WinInstanceChannel>(folder.path());
    }

    void showNoAnswer(const DataFolder& folder) override {
        // The folder is the machine's: the program holding it may be another user's, in a
        // session this one cannot reach.
        showBox(Texts::RunningForAnotherUser.pick(folder.SerbianChosen()), MB_ICONINFORMATION);
    }

    std::unique_ptr<Toolkit> toolkit() override {
        auto toolkit = std::make_unique<Win32Toolkit>();
        toolkit_ = toolkit.get();
        return toolkit;
    }

    std::unique_ptr<PlatformSession> start(TApplication& application) override {
        return std::make_unique<WindowsSession>(*toolkit_, application.Title());
    }

    void showStartFailure(const std::string& text) override { showBox(text, MB_ICONERROR); }

private:
    Win32Toolkit* toolkit_ = nullptr;  // the one toolkit() made, whose loop the session runs
};

}  // namespace

std::unique_ptr<ProgramPlatform> WindowsPlatform() {
    return std::make_unique<WindowsProgramPlatform>();
}

}  // namespace surftally
