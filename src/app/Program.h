#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "forms/TForm1.h"
#include "forms/TForm2.h"
#include "forms/TForm4.h"
#include "forms/THistoryForm.h"
#include "store/DataFolder.h"

namespace surftally {

class Clock;
class ConnectionFlags;
class InstanceChannel;
class TApplication;
class Toolkit;
class TrayApplication;
class TrayShell;

// What the windows count and show with: one platform's services, or the tests' fakes.
struct ProgramServices {
    const Clock& clock;
    ConnectionFlags& flags;
    TrayShell& shell;
    TrayApplication& trayApplication;
    TForm1::IconLoader loadIcon;
    // Whether the desktop has a notification area now; empty where it always has one.
    std::function<bool()> notificationAreaAvailable;
};

// The program's windows and the handlers the platform's events run: TForm1, TForm2,
// TForm4 and the history window, built in that order and destroyed in the reverse one.
class Program {
public:
    explicit Program(TApplication& application) : application_(application) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Builds the windows on the folder, the settings with the help window. Raises the strip's
    // start-up failure (its notification icon could not be added); nothing is built then.
    void build(const DataFolder& folder, const ProgramServices& services);
    void show() { form1->Show(); }

    TApplication& application() const { return application_; }

    // The platform's events, each under the error guard.
    // A failure that left one of the platform's own handlers (the shell's, a window's).
    void report(std::exception_ptr failure);
    void notificationAreaChanged(bool available);
    // Another start on the same data folder asked for the strip.
    void bringBack();
    // The end of the session, a signal, a Close from the taskbar or an installer: ends as
    // "Close Application" does, saving the counted balance; nothing once the program ends.
    void end();

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<THistoryForm> history;

private:
    TApplication& application_;
};

// One platform's services while the program runs; destroyed after the windows.
class PlatformSession {
public:
    virtual ~PlatformSession() = default;

    virtual ProgramServices services() = 0;
    // Where a failure that leaves one of the platform's own handlers goes; given before the
    // windows are built.
    virtual void onHandlerFailure(std::function<void(std::exception_ptr)> report) = 0;
    // The platform's events reach the built program: the notification area's changes, the
    // requests to end (signals, the session's end, the taskbar's Close).
    virtual void connect(Program& program) = 0;
    // The message loop until the program ends; its exit code.
    virtual int run() = 0;
};

// What a platform gives the program: the second-start channel, the toolkit and the session
// services, and its own ways to tell the user why it does not run.
class ProgramPlatform {
public:
    virtual ~ProgramPlatform() = default;

    virtual std::unique_ptr<InstanceChannel> channel(const DataFolder& folder) = 0;
    // A second start that no running program answered.
    virtual void showNoAnswer(const DataFolder& folder) = 0;
    // Created once this start is the one that runs on the folder.
    virtual std::unique_ptr<Toolkit> toolkit() = 0;
    virtual std::unique_ptr<PlatformSession> start(TApplication& application) = 0;
    // The strip could not be built: the text of its failure.
    virtual void showStartFailure(const std::string& text) = 0;
};

// The whole program on the folder: one program runs per folder, a second start brings the
// running strip back and ends. Gives the process's exit code.
int RunProgram(ProgramPlatform& platform, const DataFolder& folder);

}  // namespace surftally
