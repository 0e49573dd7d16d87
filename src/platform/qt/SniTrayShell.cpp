#include "platform/qt/SniTrayShell.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QStyleHints>

#include <algorithm>

#include "platform/qt/QtIconRecord.h"
#include "platform/qt/QtTipText.h"
#include "platform/qt/SniActivations.h"
#include "platform/qt/SniTypes.h"
#include "platform/qt/StatusNotifierItem.h"

namespace surftally {

namespace {

const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");

int doubleClickInterval() {
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

}  // namespace

struct SniTrayShell::Entry : QtIconRecord {
    std::unique_ptr<StatusNotifierItem> item;
    SniActivations activations;
    QTimer decision;  // a held activation's interval ends
};

SniTrayShell::SniTrayShell() : SniTrayShell(QDBusConnection::sessionBus(), QString()) {}

SniTrayShell::SniTrayShell(QDBusConnection connection, QString itemBus, QObject* parent)
    : QObject(parent),
      QtNotificationShell(this),
      connection_(std::move(connection)),
      itemBus_(std::move(itemBus)) {
    if (!connection_.isConnected()) {
        return;  // no session bus: never an area
    }
    const QString watcherService = QString::fromLatin1(kWatcherService);
    watcher_ = new QDBusServiceWatcher(watcherService, connection_,
                                       QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                watcherOwnerChanged(owner);
            });
    connection_.connect(watcherService, kWatcherPath, kWatcherInterface,
                        QStringLiteral("StatusNotifierHostRegistered"), this,
                        SLOT(hostRegistered()));
    connection_.connect(watcherService, kWatcherPath, kWatcherInterface,
                        QStringLiteral("StatusNotifierHostUnregistered"), this,
                        SLOT(hostUnregistered()));
    const QDBusReply<QString> owner = connection_.interface()->serviceOwner(watcherService);
    if (owner.isValid()) {
        watcherOwnerChanged(owner.value());
    }
}

SniTrayShell::~SniTrayShell() {
    while (!entries_.empty()) {
        NotifyIconData data;
        data.hWnd = entries_.begin()->first.first;
        data.uID = entries_.begin()->first.second;
        NotifyIcon(NotifyRequest::Delete, data);
    }
}

bool SniTrayShell::notify(NotifyRequest message, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto it = entries_.find(key);
    switch (message) {
        case NotifyRequest::Add: {
            if (it != entries_.end() || !entries_.empty() || !windows_.contains(data.hWnd)) {
                return false;
            }
            auto entry = std::make_unique<Entry>();
            Entry* raw = entry.get();
            entry->window = data.hWnd;
            entry->uID = data.uID;
            const QString service = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(nextItem_++);
            // Runs in the item's thread: hands the call, with when it came, to the loop.
            auto onRequest = [this, key](StatusNotifierItem::Request kind,
                                         StatusNotifierItem::Clock::time_point at) {
                QMetaObject::invokeMethod(
                    this, [this, key, kind, at] { request(key, static_cast<int>(kind), at); },
                    Qt::QueuedConnection);
            };
            if (connection_.isConnected()) {
                entry->item = std::make_unique<StatusNotifierItem>(
                    itemBus_, service, QCoreApplication::applicationName(),
                    QGuiApplication::applicationDisplayName(), std::move(onRequest));
            }
            entry->decision.setSingleShot(true);
            connect(&entry->decision, &QTimer::timeout, this, [this, key] { decide(key); });
            apply(*entry, data, false);  // a new item is read whole
            entries_.emplace(key, std::move(entry));
            if (watcherThere_) {
                registerItem(*raw);
            }
            return true;
        }
        case NotifyRequest::Modify:
            if (it == entries_.end()) {
                return false;
            }
            apply(*it->second, data, true);
            return true;
        case NotifyRequest::Delete:
            if (it == entries_.end()) {
                return false;
            }
            // The item's connection closes: the watcher sees its name go and tells the hosts.
            entries_.erase(it);
            return true;
    }
    return false;
}

void SniTrayShell::apply(Entry& entry, const NotifyIconData& data, bool tell) {
    const auto picture = entry.take(data);
    if (entry.item == nullptr) {
        return;
    }
    // Even another picture is signalled only when its pixels differ.
    if (picture && entry.item->setPixmaps(SniPixmaps(*picture)) && tell) {
        entry.item->announce("NewIcon");
    }
    if (entry.item->setTip(ToolTipOf(TipText(data))) && tell) {
        entry.item->announce("NewToolTip");
    }
}

namespace {

void postGestures(const QtIconRecord& entry, const QtMessageWindows& windows,
                  const std::vector<SniActivations::Gesture>& gestures) {
    for (const SniActivations::Gesture gesture : gestures) {
        entry.post(windows, TrayEvent::LeftButtonDown);
        entry.post(windows, TrayEvent::LeftButtonUp);
        if (gesture == SniActivations::Gesture::DoubleClick) {
            entry.post(windows, TrayEvent::LeftButtonDoubleClick);
            entry.post(windows, TrayEvent::LeftButtonUp);
        }
    }
}

}  // namespace

void SniTrayShell::request(Key key, int kind, std::chrono::steady_clock::time_point at) {
    const auto it = entries_.find(key);
    if (it == entries_.end()) {
        return;  // deleted since the call came
    }
    Entry& entry = *it->second;
    switch (static_cast<StatusNotifierItem::Request>(kind)) {
        case StatusNotifierItem::Request::Activate:
            postGestures(
                entry, windows_,
                entry.activations.arrived(at, std::chrono::milliseconds(doubleClickInterval())));
            schedule(entry);
            break;
        case StatusNotifierItem::Request::SecondaryActivate:
            post(entry, TrayEvent::MiddleButtonDown);
            post(entry, TrayEvent::MiddleButtonUp);
            break;
        case StatusNotifierItem::Request::ContextMenu:
            post(entry, TrayEvent::RightButtonDown);
            post(entry, TrayEvent::RightButtonUp);
            break;
    }
}

void SniTrayShell::decide(Key key) {
    // Calls that came before this moment and wait in the loop's queue are given first: they
    // may make the held activation a double click.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    const auto it = entries_.find(key);
    if (it == entries_.end()) {
        return;
    }
    Entry& entry = *it->second;
    postGestures(entry, windows_, entry.activations.due(std::chrono::steady_clock::now()));
    schedule(entry);
}

void SniTrayShell::schedule(Entry& entry) {
    const auto deadline = entry.activations.deadline();
    if (!deadline) {
        entry.decision.stop();
        return;
    }
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    entry.decision.start(std::max<int>(0, static_cast<int>(wait.count())));
}

void SniTrayShell::post(const Entry& entry, std::uint32_t mouseMessage) const {
    entry.post(windows_, mouseMessage);
}

void SniTrayShell::watcherOwnerChanged(const QString& owner) {
    const bool was = available();
    watcherThere_ = !owner.isEmpty();
    hostThere_ = false;
    refreshMoves();
    if (watcherThere_) {
        // A new watcher knows no item yet.
        for (const auto& [key, entry] : entries_) {
            registerItem(*entry);
        }
        askHost();
    }
    if (available() != was) {
        emit availableChanged(available());
    }
}

void SniTrayShell::askHost() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(kWatcherService), kWatcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* call = new QDBusPendingCallWatcher(connection_.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (!reply.isError() && watcherThere_) {
            setHost(reply.value().variant().toBool());
        }
    });
}

void SniTrayShell::registerItem(const Entry& entry) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kWatcherService), kWatcherPath, kWatcherInterface,
        QStringLiteral("RegisterStatusNotifierItem"));
    if (entry.item == nullptr || !entry.item->connected()) {
        return;
    }
    call << entry.item->service();
    connection_.call(call, QDBus::NoBlock);
}

void SniTrayShell::hostRegistered() {
    if (watcherThere_) {
        setHost(true);
    }
}

void SniTrayShell::hostUnregistered() {
    // Another host may still be there: the watcher is asked.
    if (watcherThere_) {
        askHost();
    }
}

void SniTrayShell::setHost(bool there) {
    const bool was = available();
    hostThere_ = there;
    refreshMoves();
    if (available() != was) {
        emit availableChanged(available());
    }
}

void SniTrayShell::sendMoves() const {
    if (!available()) {
        return;
    }
    for (const auto& [key, entry] : entries_) {
        post(*entry, TrayEvent::MouseMove);
    }
}

QString SniTrayShell::serviceName(std::uintptr_t window, std::uint32_t uID) const {
    const auto it = entries_.find({window, uID});
    return it == entries_.end() || it->second->item == nullptr ? QString()
                                                               : it->second->item->service();
}

}  // namespace surftally
