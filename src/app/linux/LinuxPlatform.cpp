#include "app/linux/LinuxPlatform.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <optional>

#include "platform/SystemClock.h"
#include "platform/linux/LinuxConnectionFlags.h"
#include "platform/qt/NotificationAreaShell.h"
#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/QtOrderlyEnd.h"
#include "platform/qt/QtPlatformChoice.h"
#include "platform/qt/QtTrayApplication.h"
#include "ui/qt/Toolkit.h"

namespace surftally {

namespace {

class LinuxSession final : public PlatformSession {
public:
    ProgramServices services() override {
        return {
            clock_,
            flags_,
            shell_,
            trayApplication_,
            [this](const std::filesystem::path& file) { trayApplication_.loadIcon(file.string()); },
            [this] { return shell_.available(); }};
    }

    void onHandlerFailure(std::function<void(std::exception_ptr)> report) override {
        shell_.setOnProcedureError(std::move(report));
    }

    void connect(Program& program) override {
        shell_.setOnAvailabilityChanged(
            [&program](bool available) { program.notificationAreaChanged(available); });
        // The end of the session, a shut-down or Ctrl+C end the program as "Close
        // Application" does; a message left on the screen does not hold it up.
        orderlyEnd_.emplace([&program] {
            program.end();
            // exit(), not quit(): quit() is refused while a window declines to close, as an
            // open message box does.
            QApplication::exit(0);
        });
    }

    int run() override { return QApplication::exec(); }

private:
    SystemClock clock_;
    LinuxConnectionFlags flags_;   // the real root, "/"
    NotificationAreaShell shell_;  // a D-Bus notification area, or an X11 one
    QtTrayApplication trayApplication_;
    std::optional<QtOrderlyEnd> orderlyEnd_;
};

// The platform choice comes before the application object.
struct PlatformChoice {
    PlatformChoice() { ChooseQtPlatform(); }  // XWayland where a Wayland session has it
};

class LinuxProgramPlatform final : public ProgramPlatform {
public:
    LinuxProgramPlatform(int& argc, char** argv) : app_(argc, argv) {
        // Only the application's name: a display name would be appended to every window
        // title.
        QApplication::setApplicationName(QStringLiteral("Surftally"));
        // The strip is a tool window and may be hidden: only closing it ends the program.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    std::unique_ptr<InstanceChannel> channel(const DataFolder& folder) override {
        return std::make_unique<QtInstanceChannel>(folder.path());
    }

    void showNoAnswer(const DataFolder& folder) override {
        std::fprintf(stderr, "surftally: already running on %s\n", folder.path().c_str());
    }

    std::unique_ptr<Toolkit> toolkit() override { return std::make_unique<QtToolkit>(); }

    std::unique_ptr<PlatformSession> start(TApplication&) override {
        return std::make_unique<LinuxSession>();
    }

    void showStartFailure(const std::string& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                        QString::fromStdString(text));
        box.setTextFormat(Qt::PlainText);  // the text may name a file: never markup
        box.exec();
    }

private:
    PlatformChoice choice_;
    QApplication app_;
};

}  // namespace

std::unique_ptr<ProgramPlatform> LinuxPlatform(int& argc, char** argv) {
    return std::make_unique<LinuxProgramPlatform>(argc, argv);
}

}  // namespace surftally
