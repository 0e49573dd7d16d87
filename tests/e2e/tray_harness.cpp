// Shows one notification icon with the Qt shell and prints its events, one per line, for the
// end-to-end test. Usage: tray_harness ICON_FILE
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <iostream>

#include "platform/TTrayIcon.h"
#include "platform/qt/QtTrayApplication.h"
#include "platform/qt/XEmbedTrayShell.h"

namespace {

using surftally::TMouseButton;
using surftally::TShiftState;
using surftally::TTrayIcon;

void say(const std::string& line) {
    std::cout << line << std::endl;
}

class HarnessMenu : public surftally::TPopupMenu {
public:
    HarnessMenu() {
        menu_.addAction(QStringLiteral("Settings"));
        QObject::connect(&menu_, &QMenu::aboutToShow, [] { say("MenuShown"); });
    }
    void Popup(int X, int Y) override {
        say("Popup " + std::to_string(X) + " " + std::to_string(Y));
        menu_.popup(QPoint(X, Y));
    }

private:
    QMenu menu_;
};

// The widget QSystemTrayIcon embeds into the notification area, once it is shown.
QWidget* embeddedIcon() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("QSystemTrayIconSys") && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tray_harness ICON_FILE\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tray Harness"));
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        QWidget applicationWindow;  // stays hidden, so a right press pops the menu up
        surftally::QtTrayApplication application(&applicationWindow);
        application.loadIcon(argv[1]);
        surftally::XEmbedTrayShell shell;
        TTrayIcon tray(shell, application);
        tray.setIcon(application.Icon());
        HarnessMenu menu;
        tray.setPopupMenu(&menu);

        const auto button = [](TMouseButton b) { return std::to_string(static_cast<int>(b)); };
        tray.OnClick = [](TTrayIcon*) { say("Click"); };
        tray.OnDblClick = [](TTrayIcon*) { say("DblClick"); };
        tray.OnMouseMove = [](TTrayIcon*, TShiftState, int, int) { say("MouseMove"); };
        tray.OnMouseDown = [&](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
            say("MouseDown " + button(b));
        };
        tray.OnMouseUp = [&](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
            say("MouseUp " + button(b));
        };
        say(shell.available() ? "Available" : "Unavailable");

        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (QWidget* icon = embeddedIcon()) {
                say("Embedded " + std::to_string(icon->winId()));
                watch.stop();
            }
        });
        watch.start(100);
        // A bound in case the test that started it goes away without stopping it.
        QTimer::singleShot(120000, &app, &QCoreApplication::quit);
        return QApplication::exec();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
