// The program on Windows: the Win32 toolkit, InternetGetConnectedState for the connection,
// the notification area through Shell_NotifyIconA, the clock that stops during sleep, and the
// application's own window for the taskbar button.

#include <memory>
#include <stdexcept>

#include "DataFolder.h"
#include "FolderLock.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm4.h"
#include "Texts.h"
#include "Win32Text.h"
#include "Win32Toolkit.h"
#include "WinConnectionFlags.h"
#include "WinInstanceChannel.h"
#include "WinSystemClock.h"
#include "WinTrayApplication.h"
#include "WinTrayShell.h"

using namespace surftally;

namespace {

void showFailure(const std::string& text) {
    ::MessageBoxW(nullptr, Wide(text).c_str(), L"Surftally", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void showNotice(const std::string& text) {
    ::MessageBoxW(nullptr, Wide(text).c_str(), L"Surftally",
                  MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // One program counts per data folder; a second start brings the running strip back. The
    // folder is the machine's: the program holding it may be another user's, in a session
    // this one cannot reach.
    const DataFolder folder = DataFolder::standard();
    FolderLock lock;
    WinInstanceChannel channel(folder.path());
    if (lock.tryAcquire(folder.path()) == FolderLock::Outcome::HeldElsewhere) {
        if (!channel.ask(3000)) {
            showNotice(Texts::RunningForAnotherUser.pick(folder.FileExists("srpski.dat")));
        }
        return 0;
    }

    Win32Toolkit toolkit;
    TApplication application(toolkit);
    WinSystemClock clock;
    WinConnectionFlags flags;
    WinTrayShell shell;
    const auto report = [&application](std::exception_ptr failure) {
        application.Guarded([&] { std::rethrow_exception(failure); });
    };
    // A failure that leaves a notification handler is reported like any other.
    shell.setOnProcedureError(report);
    WinTrayApplication trayApplication(application.Title());
    trayApplication.setOnProcedureError(report);

    std::unique_ptr<TForm1> form1;
    try {
        form1 = std::make_unique<TForm1>(application, folder, clock, flags, shell, trayApplication,
                                         [&trayApplication](const std::filesystem::path& file) {
                                             trayApplication.loadIcon(file);
                                         });
    } catch (const std::exception& e) {
        // The notification icon could not be added: start-up stops here.
        showFailure(e.what());
        return 1;
    }
    // Close on the taskbar button's menu ends the program as "Close Application" does.
    trayApplication.setOnClose([&form1] { form1->Close(); });
    // So does the end of the Windows session: Close() saves the counted balance first.
    trayApplication.setOnEndSession([&form1] { form1->Close(); });
    TForm2 form2(application, *form1);
    TForm4 form4(application);
    form2.setHelpWindow(&form4);
    // The installer's close request ends the program as "Close Application" does, and at
    // once: a message still on screen would hold the program, and its files, until someone
    // closed it.
    channel.listen([&] { application.Guarded([&] { form1->BringBack(); }); },
                   [&] {
                       application.Guarded([&] { form1->Close(); });
                       toolkit.quit();
                   });

    form1->Show();
    return toolkit.run();
}
