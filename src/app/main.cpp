#include <QApplication>
#include <QMessageBox>

#include <memory>

#include "DataFolder.h"
#include "ErrorReporter.h"
#include "QtTrayApplication.h"
#include "SystemClock.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm4.h"

#ifdef _WIN32
#include "WinConnectionFlags.h"
#include "WinTrayShell.h"
#else
#include "LinuxConnectionFlags.h"
#include "QtNotificationAreaShell.h"  // issue 14: D-Bus or X11 notification area
#include "QtPlatformChoice.h"
#include "X11StripWindow.h"
#endif

using namespace surftally;

namespace {

#ifdef _WIN32
using PlatformFlags = WinConnectionFlags;
using PlatformShell = WinTrayShell;
bool NotificationArea(const PlatformShell&) {
    return true;
}
#else
using PlatformFlags = LinuxConnectionFlags;  // the real root, "/"
using PlatformShell = QtNotificationAreaShell;
bool NotificationArea(const PlatformShell& shell) {
    return shell.available();
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
#ifndef _WIN32
    ChooseQtPlatform();  // XWayland where a Wayland session has it
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Surftally"));
    QApplication::setApplicationDisplayName(QStringLiteral("Surftally"));
    // The strip is a tool window and may be hidden: only closing it ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    PlatformFlags flags;
    PlatformShell shell;
#ifndef _WIN32
    // A failure that leaves a notification handler is reported like any other.
    shell.setOnProcedureError(
        [](std::exception_ptr failure) { Guarded([&] { std::rethrow_exception(failure); }); });
#endif
    QtTrayApplication application;

    std::unique_ptr<TForm1> form1;
    try {
        form1 = std::make_unique<TForm1>(DataFolder::standard(), clock, flags, shell, application,
                                         [&application](const std::filesystem::path& file) {
                                             application.loadIcon(file.string());
                                         });
    } catch (const std::exception& e) {
        // The notification icon could not be added: start-up stops here.
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromStdString(e.what()));
        return 1;
    }
    form1->setNotificationAreaCheck([&shell] { return NotificationArea(shell); });
#ifndef _WIN32
    X11StripWindow::attach(*form1);  // skip-taskbar/pager, exact place and size
    shell.setOnAvailabilityChanged(
        [&form1](bool available) { form1->NotificationAreaChanged(available); });
#endif
    TForm2 form2(*form1);
    TForm4 form4;
    form2.setHelpWindow(&form4);

    QObject::connect(form1.get(), &TForm1::closed, &app, [&] {
        form2.hide();
        form4.hide();
        ErrorReporter::instance().clear();
        QApplication::quit();
    });

    form1->show();
    return QApplication::exec();
}
