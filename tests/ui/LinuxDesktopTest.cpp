// The Linux desktop parts over a private session bus: the StatusNotifierItem shell and its
// activation gesture, what it sends and when, the shell that moves the icon between the D-Bus
// and the X11 notification area, and the choice of the Qt platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTextDocument>

#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/TTrayIcon.h"
#include "platform/qt/NotificationAreaShell.h"
#include "platform/qt/QtOrderlyEnd.h"
#include "platform/qt/QtPlatformChoice.h"
#include "platform/qt/QtTrayApplication.h"
#include "platform/qt/SniTrayShell.h"
#include "tests/support/SniDBusTypes.h"
#include "tests/support/TrayRecording.h"

namespace surftally {

// A watcher with a host, as a panel gives it; it counts the change signals of the items.
class TestWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ version)
public:
    bool hostRegistered() const { return true; }
    QStringList items() const { return registered; }
    int version() const { return 0; }

    QStringList registered;
    int newIcons = 0;
    int newTips = 0;

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) { registered << service; }
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString&) {}
    void newIcon() { ++newIcons; }
    void newTip() { ++newTips; }

signals:
    Q_SCRIPTABLE void StatusNotifierHostRegistered();
};

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

std::string writeIcon(const QTemporaryDir& dir, const char* name, QColor colour) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    QImageWriter writer(path, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path.toStdString();
}

// A dbus-daemon of the tests' own, for the whole suite.
class PrivateBus {
public:
    PrivateBus() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            return;
        }
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        if (daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QProcess daemon_;
    QString address_;
};

PrivateBus& bus() {
    static PrivateBus instance;
    return instance;
}

class SniTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (bus().address().isEmpty()) {
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps installs it)";
        }
        static int run = 0;
        ++run;
        desktop =
            std::make_unique<QDBusConnection>(bus().connect(QStringLiteral("desktop-%1").arg(run)));
        program =
            std::make_unique<QDBusConnection>(bus().connect(QStringLiteral("program-%1").arg(run)));
        ASSERT_TRUE(desktop->isConnected() && program->isConnected());
        // Wide enough that two calls in a row always fall inside it, even on a loaded machine.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(kInterval);
        QApplication::setApplicationDisplayName(QStringLiteral("Surftally"));
        offLine = writeIcon(dir, "Off-Line.ico", QColor(0x12, 0x34, 0x56));
        lan = writeIcon(dir, "LAN.ico", Qt::green);
        application.loadIcon(offLine);
    }
    void TearDown() override {
        tray.reset();
        sniShell.reset();
        areaShell.reset();
        stopWatcher();
        QDBusConnection::disconnectFromBus(desktop ? desktop->name() : QString());
        QDBusConnection::disconnectFromBus(program ? program->name() : QString());
    }

    void startWatcher() {
        watcher = std::make_unique<TestWatcher>();
        desktop->registerObject(QStringLiteral("/StatusNotifierWatcher"), watcher.get(),
                                QDBusConnection::ExportAllContents);
        ASSERT_TRUE(desktop->registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        for (const char* name : {"NewIcon", "NewToolTip"}) {
            desktop->connect(QString(), QStringLiteral("/StatusNotifierItem"),
                             QStringLiteral("org.kde.StatusNotifierItem"),
                             QString::fromLatin1(name), watcher.get(),
                             std::string(name) == "NewIcon" ? SLOT(newIcon()) : SLOT(newTip()));
        }
    }
    void stopWatcher() {
        if (watcher && desktop) {
            desktop->unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
            desktop->unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
        }
        watcher.reset();
    }

    void makeIcon(TrayShell& shell) {
        tray = std::make_unique<TTrayIcon>(shell, application);
        tray->setIcon(application.Icon());
        RecordButtons(*tray, events);
    }

    // An icon on a D-Bus shell of its own; the item's service name.
    QString makeSniIcon() {
        sniShell = std::make_unique<SniTrayShell>(*program, bus().address());
        makeIcon(*sniShell);
        return sniShell->serviceName(tray->record().hWnd);
    }

    QVariant property(const QString& service, const char* name) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QString::fromLatin1(name);
        const QDBusMessage reply = desktop->call(get, QDBus::BlockWithGui);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            return {};
        }
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    // A panel's call of the item's method (Activate, SecondaryActivate...) at 0,0.
    static QDBusMessage itemCall(const QString& service, const char* method) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.kde.StatusNotifierItem"), QString::fromLatin1(method));
        message << 0 << 0;
        return message;
    }
    void call(const QString& service, const char* method, int times = 1) {
        for (int i = 0; i < times; ++i) {
            EXPECT_EQ(desktop->call(itemCall(service, method), QDBus::BlockWithGui).type(),
                      QDBusMessage::ReplyMessage);
        }
    }

    // Sends without waiting for the reply, as a panel does.
    void send(const QString& service, const char* method, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QDBusMessage message = itemCall(service, method);
            message.setAutoStartService(false);
            EXPECT_TRUE(desktop->send(message));
        }
    }

    static constexpr int kInterval = 1500;
    QTemporaryDir dir;
    std::string offLine;
    std::string lan;
    std::unique_ptr<QDBusConnection> desktop;
    std::unique_ptr<QDBusConnection> program;
    std::unique_ptr<TestWatcher> watcher;
    QWidget window;
    QtTrayApplication application{&window};
    // The shells outlive the icon.
    std::unique_ptr<SniTrayShell> sniShell;
    std::unique_ptr<NotificationAreaShell> areaShell;
    std::unique_ptr<TTrayIcon> tray;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST_F(SniTest, AnItemRegistersWhenAWatcherComesAndShowsItsPicturesAndTip) {
    sniShell = std::make_unique<SniTrayShell>(*program, bus().address());
    SniTrayShell& shell = *sniShell;
    EXPECT_FALSE(shell.available());
    makeIcon(shell);
    tray->setHint(" Off - Line ... Available Time: 010:00:00 ");
    const QString service = shell.serviceName(tray->record().hWnd);

    startWatcher();
    ASSERT_TRUE(waitFor([&] { return shell.available() && !watcher->registered.isEmpty(); }));
    EXPECT_EQ(watcher->registered, QStringList{service});

    const auto tip = qdbus_cast<SniToolTip>(property(service, "ToolTip"));
    EXPECT_EQ(tip.title, QStringLiteral(" Off - Line ... Available Time: 010:00:00 "));
    EXPECT_EQ(property(service, "Title").toString(), QStringLiteral("Surftally"));
    const auto pixmaps = qdbus_cast<SniPixmapList>(property(service, "IconPixmap"));
    ASSERT_FALSE(pixmaps.isEmpty());
    for (const SniPixmap& pixmap : pixmaps) {
        ASSERT_EQ(pixmap.pixels.size(), pixmap.width * pixmap.height * 4);
        // ARGB, most significant byte first.
        EXPECT_EQ(pixmap.pixels.left(4), QByteArray("\xff\x12\x34\x56", 4)) << pixmap.width;
    }

    // The watcher goes and comes back: the new one knows the item as well.
    stopWatcher();
    ASSERT_TRUE(waitFor([&] { return !shell.available(); }));
    startWatcher();
    EXPECT_TRUE(waitFor([&] { return watcher->registered == QStringList{service}; }));
}

TEST_F(SniTest, ActivationsBecomeAClickOrOneDoubleClick) {
    startWatcher();
    const QString service = makeSniIcon();

    call(service, "Activate");
    ASSERT_TRUE(waitFor([&] { return events.size() == 3; }));
    settle(kInterval + 200);
    EXPECT_EQ(events, (Events{"Down0", "Click", "Up0"}));

    // Two in a row, and the three some panels send for a double click: one double click each.
    for (const int count : {2, 3}) {
        events.clear();
        call(service, "Activate", count);
        settle(kInterval + 200);
        EXPECT_EQ(events, (Events{"Down0", "Click", "Up0", "DblClick", "Up0"})) << count;
    }

    events.clear();
    call(service, "SecondaryActivate");
    call(service, "ContextMenu");
    ASSERT_TRUE(waitFor([&] { return events.size() == 4; }));
    EXPECT_EQ(events, (Events{"Down2", "Up2", "Down1", "Up1"}));
}

TEST_F(SniTest, ActivationsPairByWhenTheyArrivedHoweverLateTheLoopTakesThem) {
    constexpr int interval = 600;
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(interval);
    startWatcher();
    const QString service = makeSniIcon();
    const Events click{"Down0", "Click", "Up0"};
    const Events doubleClick{"Down0", "Click", "Up0", "DblClick", "Up0"};
    // The loop stalls for longer than the double-click interval: what arrived meanwhile and
    // the interval's end are all due when it runs again.
    const auto stall = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(interval + 300));
    };

    // The first is taken at once, the second arrives while the loop stalls.
    call(service, "Activate");
    send(service, "Activate");
    stall();
    settle(interval + 200);
    EXPECT_EQ(events, doubleClick);

    // A whole burst waits for the stalled loop; a third belongs to the same double click.
    for (const int count : {2, 3}) {
        events.clear();
        send(service, "Activate", count);
        stall();
        settle(interval + 200);
        EXPECT_EQ(events, doubleClick) << count;
    }

    // Two that arrived further apart than the interval are two clicks, though the loop takes
    // them together.
    events.clear();
    send(service, "Activate");
    stall();
    send(service, "Activate");
    stall();
    settle(interval + 200);
    Events twoClicks = click;
    twoClicks.insert(twoClicks.end(), click.begin(), click.end());
    EXPECT_EQ(events, twoClicks);
}

TEST_F(SniTest, OnlyAChangedPictureOrTipIsSignalled) {
    startWatcher();
    const QString service = makeSniIcon();
    tray->setHint("Off - Line ... Available Time: 010:00:00 ");
    settle(300);
    const int icons = watcher->newIcons;
    const int tips = watcher->newTips;

    // What the tick does every second off-line: the same icon file loaded and assigned again.
    for (int i = 0; i < 3; ++i) {
        application.loadIcon(offLine);
        tray->setIcon(application.Icon());
    }
    // The same picture from a rewritten file is a new image with the same pixels.
    const std::string copy = writeIcon(dir, "Copy.ico", QColor(0x12, 0x34, 0x56));
    application.loadIcon(copy);
    tray->setIcon(application.Icon());
    settle(300);
    EXPECT_EQ(watcher->newIcons, icons);
    EXPECT_EQ(watcher->newTips, tips);

    tray->setHint("LAN Internet ... Available Time: 009:59:59 ");
    application.loadIcon(lan);
    tray->setIcon(application.Icon());
    ASSERT_TRUE(
        waitFor([&] { return watcher->newIcons == icons + 1 && watcher->newTips == tips + 1; }));
    EXPECT_EQ(qdbus_cast<SniToolTip>(property(service, "ToolTip")).title,
              QStringLiteral("LAN Internet ... Available Time: 009:59:59 "));

    // A tip that looks like markup reaches the host as one that shows its characters.
    tray->setHint("LAN Internet ... <b>1</b> ");
    ASSERT_TRUE(waitFor([&] { return watcher->newTips == tips + 2; }));
    QTextDocument shown;
    shown.setHtml(qdbus_cast<SniToolTip>(property(service, "ToolTip")).title);
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("LAN Internet ... <b>1</b> "));
}

// What a panel asks of the item: all its properties at once (as Plasma does on every signal),
// with or without the interface's name; nothing it may write; a description of itself.
TEST_F(SniTest, AHostReadsAllPropertiesAtOnceAndCanWriteNone) {
    const QString service = makeSniIcon();
    tray->setHint("Modem ... Available Time: 001:02:03 ");
    const auto propertiesCall = [&](const char* method) {
        return QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                              QStringLiteral("org.freedesktop.DBus.Properties"),
                                              QString::fromLatin1(method));
    };
    for (const QString& interface : {QStringLiteral("org.kde.StatusNotifierItem"), QString()}) {
        QDBusMessage getAll = propertiesCall("GetAll");
        getAll << interface;
        const QDBusMessage reply = desktop->call(getAll, QDBus::BlockWithGui);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        const auto all = qdbus_cast<QVariantMap>(reply.arguments().value(0));
        EXPECT_EQ(all.size(), 15) << interface.toStdString();
        EXPECT_EQ(all.value(QStringLiteral("Status")).toString(), QStringLiteral("Active"));
        EXPECT_EQ(all.value(QStringLiteral("Category")).toString(),
                  QStringLiteral("ApplicationStatus"));
        EXPECT_EQ(all.value(QStringLiteral("Title")).toString(), QStringLiteral("Surftally"));
        EXPECT_FALSE(all.value(QStringLiteral("ItemIsMenu")).toBool());
        EXPECT_EQ(qdbus_cast<SniToolTip>(all.value(QStringLiteral("ToolTip"))).title,
                  QStringLiteral("Modem ... Available Time: 001:02:03 "));
        EXPECT_FALSE(qdbus_cast<SniPixmapList>(all.value(QStringLiteral("IconPixmap"))).isEmpty());
    }

    QDBusMessage set = propertiesCall("Set");
    set << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Status")
        << QVariant::fromValue(QDBusVariant(QStringLiteral("Passive")));
    EXPECT_EQ(desktop->call(set, QDBus::BlockWithGui).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(property(service, "Status").toString(), QStringLiteral("Active"));
    EXPECT_FALSE(property(service, "NoSuchProperty").isValid());

    const QDBusMessage introspection = desktop->call(
        QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                       QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                       QStringLiteral("Introspect")),
        QDBus::BlockWithGui);
    EXPECT_TRUE(introspection.arguments().value(0).toString().contains(
        QStringLiteral("<method name=\"Activate\">")));
}

TEST_F(SniTest, TheIconMovesToTheX11AreaWhenTheWatcherGoesAndBack) {
    startWatcher();
    areaShell = std::make_unique<NotificationAreaShell>(*program, bus().address());
    NotificationAreaShell& shell = *areaShell;
    std::vector<bool> changes;
    shell.setOnAvailabilityChanged([&](bool available) { changes.push_back(available); });
    ASSERT_TRUE(waitFor([&] { return shell.available(); }));
    changes.clear();  // the host is known once the watcher has answered
    makeIcon(shell);
    tray->setHint("Off - Line ... Available Time: 010:00:00 ");
    const auto window = tray->record().hWnd;
    EXPECT_TRUE(shell.usesStatusNotifier());
    EXPECT_EQ(shell.xembedShell().trayIcon(window), nullptr);
    ASSERT_TRUE(waitFor([&] { return watcher->registered.size() == 1; }));

    // The offscreen platform has no X11 area: with the watcher gone there is none at all, and
    // the X11 shell keeps the icon, with its tip, until one comes.
    stopWatcher();
    ASSERT_TRUE(waitFor([&] { return !shell.available(); }));
    EXPECT_FALSE(shell.usesStatusNotifier());
    EXPECT_EQ(changes, (std::vector<bool>{false}));
    ASSERT_NE(shell.xembedShell().trayIcon(window), nullptr);
    EXPECT_EQ(shell.xembedShell().trayIcon(window)->toolTip(),
              QStringLiteral("Off - Line ... Available Time: 010:00:00 "));
    EXPECT_TRUE(shell.statusNotifierShell().serviceName(window).isEmpty());

    startWatcher();
    ASSERT_TRUE(waitFor([&] { return shell.available() && watcher->registered.size() == 1; }));
    EXPECT_EQ(changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(shell.xembedShell().trayIcon(window), nullptr);

    // Activations reach the icon through whichever shell holds it.
    call(shell.statusNotifierShell().serviceName(window), "SecondaryActivate");
    EXPECT_TRUE(waitFor([&] { return events == Events{"Down2", "Up2"}; }));
}

TEST(QtPlatformChoiceTest, XWaylandWhereTheWaylandSessionHasItAndTheUserDidNotChoose) {
    using Env = std::map<std::string, std::string>;
    const auto choose = [](const Env& env) {
        return PreferredQtPlatform([&env](const char* name) -> std::optional<std::string> {
            const auto it = env.find(name);
            return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
    };
    EXPECT_EQ(choose({{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}}), "xcb");
    EXPECT_EQ(choose({{"WAYLAND_DISPLAY", "wayland-1"}}), "wayland");
    EXPECT_EQ(choose({{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ""}}), "wayland");
    EXPECT_EQ(choose({{"DISPLAY", ":0"}}), std::nullopt);
    EXPECT_EQ(choose({}), std::nullopt);
    EXPECT_EQ(
        choose(
            {{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
        std::nullopt);
    EXPECT_EQ(
        choose({{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", ""}}),
        "xcb");
}

TEST(QtOrderlyEndTest, SignalsAndTheSessionsQuitEndTheProgramOnTheLoop) {
    std::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
    std::vector<std::string> ends;
    bool quitting = false;
    const QMetaObject::Connection watch =
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quitting] { quitting = true; });
    {
        QtOrderlyEnd orderlyEnd([&] {
            ends.push_back(quitting ? "quit" : "signal");
            QCoreApplication::quit();
        });
        EXPECT_TRUE(QtOrderlyEnd::handles(SIGTERM));
        EXPECT_TRUE(QtOrderlyEnd::handles(SIGINT));
        EXPECT_FALSE(QtOrderlyEnd::handles(SIGHUP));
        // Two signals before the loop runs: one call on the loop, then one more as the loop
        // ends, which is how the session manager's quit arrives.
        std::raise(SIGTERM);
        std::raise(SIGINT);
        EXPECT_TRUE(ends.empty());
        QCoreApplication::exec();
        EXPECT_EQ(ends, (std::vector<std::string>{"signal", "quit"}));
    }
    QObject::disconnect(watch);
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
}  // namespace surftally

#include "LinuxDesktopTest.moc"
