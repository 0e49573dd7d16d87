// The program on Linux: the Qt toolkit, the kernel's routes for the connection state and the
// Qt notification area.

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

#include "DataFolder.h"
#include "FolderLock.h"
#include "LinuxConnectionFlags.h"
#include "QtInstanceChannel.h"
#include "QtNotificationAreaShell.h"
#include "QtOrderlyEnd.h"
#include "QtPlatformChoice.h"
#include "QtToolkit.h"
#include "QtTrayApplication.h"
#include "SystemClock.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm4.h"
#include "X11StripWindow.h"

using namespace surftally;

int main(int argc, char* argv[]) {
    ChooseQtPlatform();  // XWayland where a Wayland session has it
    QApplication app(argc, argv);
    // Only the application's name: a display name would be appended to every window title.
    QApplication::setApplicationName(QStringLiteral("Surftally"));
    // The strip is a tool window and may be hidden: only closing it ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // One program counts per data folder; a second start brings the running strip back.
    const DataFolder folder = DataFolder::standard();
    FolderLock lock;
    QtInstanceChannel channel(folder.path());
    if (lock.tryAcquire(folder.path()) == FolderLock::Outcome::HeldElsewhere) {
        if (!channel.ask(3000)) {
            std::fprintf(stderr, "surftally: already running on %s\n", folder.path().c_str());
        }
        return 0;
    }

    QtToolkit toolkit;
    TApplication application(toolkit);
    SystemClock clock;
    LinuxConnectionFlags flags;     // the real root, "/"
    QtNotificationAreaShell shell;  // a D-Bus notification area, or an X11 one
    // A failure that leaves a notification handler is reported like any other.
    shell.setOnProcedureError([&application](std::exception_ptr failure) {
        application.Guarded([&] { std::rethrow_exception(failure); });
    });
    QtTrayApplication trayApplication;

    std::unique_ptr<TForm1> form1;
    try {
        form1 = std::make_unique<TForm1>(application, folder, clock, flags, shell, trayApplication,
                                         [&trayApplication](const std::filesystem::path& file) {
                                             trayApplication.loadIcon(file.string());
                                         });
    } catch (const std::exception& e) {
        // The notification icon could not be added: start-up stops here.
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                        QString::fromStdString(e.what()));
        box.setTextFormat(Qt::PlainText);  // the text may name a file: never markup
        box.exec();
        return 1;
    }
    form1->setNotificationAreaCheck([&shell] { return shell.available(); });
    shell.setOnAvailabilityChanged([&form1, &application](bool available) {
        application.Guarded([&] { form1->NotificationAreaChanged(available); });
    });
    TForm2 form2(application, *form1);
    TForm4 form4(application);
    form2.setHelpWindow(&form4);
    channel.listen([&form1] { form1->BringBack(); });
    // The end of the session, a shut-down or Ctrl+C end the program as "Close Application"
    // does, saving the counted balance; a message left on the screen does not hold it up.
    QtOrderlyEnd orderlyEnd([&form1, &application] {
        if (!application.Terminating()) {
            application.Guarded([&] { form1->Close(); });
        }
        // exit(), not quit(): quit() is refused while a window declines to close, as an
        // open message box does.
        QApplication::exit(0);
    });

    form1->Show();
    return QApplication::exec();
}
