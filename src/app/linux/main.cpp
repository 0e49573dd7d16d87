// The program on Linux: the Qt toolkit, the kernel's routes for the connection state and the
// Qt notification area.

#include <QApplication>
#include <QMessageBox>

#include <memory>

#include "DataFolder.h"
#include "LinuxConnectionFlags.h"
#include "QtToolkit.h"
#include "QtTrayApplication.h"
#include "QtTrayShell.h"
#include "SystemClock.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm4.h"

using namespace surftally;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Only the application's name: a display name would be appended to every window title.
    QApplication::setApplicationName(QStringLiteral("Surftally"));
    // The strip is a tool window and may be hidden: only closing it ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtToolkit toolkit;
    TApplication application(toolkit);
    SystemClock clock;
    LinuxConnectionFlags flags;  // the real root, "/"
    QtTrayShell shell;
    // A failure that leaves a notification handler is reported like any other.
    shell.setOnProcedureError([&application](std::exception_ptr failure) {
        application.Guarded([&] { std::rethrow_exception(failure); });
    });
    QtTrayApplication trayApplication;

    std::unique_ptr<TForm1> form1;
    try {
        form1 = std::make_unique<TForm1>(application, DataFolder::standard(), clock, flags, shell,
                                         trayApplication,
                                         [&trayApplication](const std::filesystem::path& file) {
                                             trayApplication.loadIcon(file.string());
                                         });
    } catch (const std::exception& e) {
        // The notification icon could not be added: start-up stops here.
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromStdString(e.what()));
        return 1;
    }
    form1->setNotificationAreaCheck([&shell] { return shell.available(); });
    TForm2 form2(application, *form1);
    TForm4 form4(application);
    form2.setHelpWindow(&form4);

    form1->Show();
    return QApplication::exec();
}
