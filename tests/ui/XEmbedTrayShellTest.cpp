#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QWidget>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TTrayIcon.h"
#include "platform/qt/QtIconImage.h"
#include "platform/qt/QtTrayApplication.h"
#include "platform/qt/XEmbedTrayShell.h"

namespace surftally {
namespace {

std::string writeIcon(const QTemporaryDir& dir, const char* name, QColor colour) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.filePath(QString::fromLatin1(name));
    QImageWriter writer(path, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path.toStdString();
}

class RecordingMenu : public TPopupMenu {
public:
    void Popup(int, int) override { ++popups; }
    int popups = 0;
};

class XEmbedTrayShellTest : public ::testing::Test {
protected:
    XEmbedTrayShellTest() {
        QApplication::setApplicationDisplayName(QStringLiteral("Surftally"));
        offLine = writeIcon(dir, "Off-Line.ico", Qt::gray);
        lan = writeIcon(dir, "LAN.ico", Qt::green);
        application.loadIcon(offLine);
        tray = std::make_unique<TTrayIcon>(shell, application);
        tray->OnClick = [this](TTrayIcon*) { events.push_back("Click"); };
        tray->OnDblClick = [this](TTrayIcon*) { events.push_back("DblClick"); };
        tray->OnMouseDown = [this](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
            events.push_back("Down" + std::to_string(static_cast<int>(b)));
        };
        tray->OnMouseUp = [this](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
            events.push_back("Up" + std::to_string(static_cast<int>(b)));
        };
    }

    QSystemTrayIcon* icon() const { return shell.trayIcon(tray->record().hWnd); }
    void activate(QSystemTrayIcon::ActivationReason reason) { emit icon()->activated(reason); }

    QTemporaryDir dir;
    std::string offLine;
    std::string lan;
    QWidget window;
    XEmbedTrayShell shell;
    QtTrayApplication application{&window};
    std::unique_ptr<TTrayIcon> tray;
    std::vector<std::string> events;
};

TEST_F(XEmbedTrayShellTest, AddModifyAndDeleteReachTheQtIcon) {
    ASSERT_NE(icon(), nullptr);
    EXPECT_EQ(icon()->toolTip(), QStringLiteral("Surftally"));
    EXPECT_EQ(icon()->icon().pixmap(32).toImage().pixelColor(16, 16), QColor(Qt::gray));

    tray->setHint(" Off - Line ");
    EXPECT_EQ(icon()->toolTip(), QStringLiteral(" Off - Line "));
    tray->setHint("");
    EXPECT_TRUE(icon()->toolTip().isEmpty());

    application.loadIcon(lan);
    tray->setIcon(application.Icon());
    EXPECT_EQ(icon()->icon().pixmap(32).toImage().pixelColor(16, 16), QColor(Qt::green));

    const auto window = tray->record().hWnd;
    tray.reset();
    EXPECT_EQ(shell.trayIcon(window), nullptr);
}

TEST_F(XEmbedTrayShellTest, TipThatLooksLikeMarkupIsShownAsItsCharacters) {
    tray->setHint(" Modem ... <font color=red>1</font> ");
    const QString tip = icon()->toolTip();
    ASSERT_TRUE(Qt::mightBeRichText(tip));  // Qt's tool tip draws it as rich text
    QTextDocument document;
    document.setHtml(tip);
    EXPECT_EQ(document.toPlainText(), QStringLiteral(" Modem ... <font color=red>1</font> "));
    tray->setHint(" Off - Line ");
    EXPECT_EQ(icon()->toolTip(), QStringLiteral(" Off - Line "));
}

TEST_F(XEmbedTrayShellTest, TipCutInsideALetterDropsTheBrokenTail) {
    tray->setHint(std::string(62, 'a') + "\xc5\xa1");  // "š" straddles the 63-byte cut
    EXPECT_EQ(icon()->toolTip(), QString(62, QLatin1Char('a')));
}

TEST_F(XEmbedTrayShellTest, ActivationsBecomeMouseMessagesOnTheLoop) {
    activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(events.empty());  // delivered through the event loop, not inside the signal
    activate(QSystemTrayIcon::DoubleClick);
    QCoreApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"Down0", "Click", "Up0", "DblClick", "Up0"}));

    events.clear();
    RecordingMenu menu;
    tray->setPopupMenu(&menu);
    window.hide();
    activate(QSystemTrayIcon::Context);
    activate(QSystemTrayIcon::MiddleClick);
    QCoreApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"Down1", "Up1", "Down2", "Up2"}));
    EXPECT_EQ(menu.popups, 1);
}

TEST_F(XEmbedTrayShellTest, QueuedMessagesDoNotReachADestroyedIcon) {
    activate(QSystemTrayIcon::Trigger);
    tray.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.empty());
}

TEST_F(XEmbedTrayShellTest, HandlerErrorGoesToTheShellNotThroughTheLoop) {
    std::string caught;
    shell.setOnProcedureError([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            caught = e.what();
        }
    });
    tray->OnClick = [](TTrayIcon*) { throw std::runtime_error("Cannot open file x.ico"); };
    activate(QSystemTrayIcon::Trigger);
    activate(QSystemTrayIcon::MiddleClick);
    QCoreApplication::processEvents();
    EXPECT_EQ(caught, "Cannot open file x.ico");
    // The click pairing was cleared before the handler ran; later messages still arrive.
    EXPECT_EQ(events, (std::vector<std::string>{"Down0", "Down2", "Up2"}));
}

TEST_F(XEmbedTrayShellTest, WithoutANotificationAreaTheAddStillSucceeds) {
    // The offscreen platform has no notification area.
    EXPECT_FALSE(shell.available());
    EXPECT_NE(icon(), nullptr);
    EXPECT_FALSE(icon()->isVisible());
}

TEST(QtIconFile, LoadsAnIconAndRefusesWhatIsNotOne) {
    QTemporaryDir dir;
    const std::string path = writeIcon(dir, "MODEM.ico", Qt::yellow);
    TIcon icon;
    loadIconFile(icon, path);
    const auto first = icon.Handle();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(icon.Handle(), first);
    EXPECT_EQ(toQIcon(icon).pixmap(32).toImage().pixelColor(0, 0), QColor(Qt::yellow));

    const std::string missing = dir.filePath(QStringLiteral("none.ico")).toStdString();
    const std::string text = dir.filePath(QStringLiteral("text.ico")).toStdString();
    QFile file(QString::fromStdString(text));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an icon\n");
    file.close();
    for (const auto& bad : {missing, text}) {
        try {
            loadIconFile(icon, bad);
            ADD_FAILURE() << bad << " loaded";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + bad);
        }
        EXPECT_EQ(icon.Handle(), first);  // the icon keeps its picture
    }
}

TEST(QtTrayApplicationTest, WindowAndItsMinimiseAndRestore) {
    QWidget window;
    QtTrayApplication application(&window);
    QApplication::setApplicationDisplayName(QStringLiteral("Surftally"));
    EXPECT_EQ(application.Title(), "Surftally");

    window.show();
    EXPECT_TRUE(application.IsWindowVisible());
    application.ShowWindow(false);
    EXPECT_FALSE(window.isVisible());
    application.ShowWindow(true);
    EXPECT_TRUE(window.isVisible());

    std::vector<std::string> calls;
    application.setOnMinimize([&] { calls.push_back("minimize"); });
    application.setOnRestore([&] { calls.push_back("restore"); });
    window.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    window.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"minimize", "restore"}));

    // Cleared hooks are not called.
    application.setOnMinimize({});
    window.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.size(), 2u);
}

}  // namespace
}  // namespace surftally
