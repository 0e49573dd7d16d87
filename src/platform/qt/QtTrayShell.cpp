#include "QtTrayShell.h"

#include <QString>

#include "QtIconRecord.h"
#include "QtPointerKeys.h"
#include "QtTipText.h"

namespace surftally {

struct QtTrayShell::Entry : QtIconRecord {
    std::unique_ptr<QSystemTrayIcon> icon;
};

QtTrayShell::QtTrayShell(QObject* parent) : QObject(parent) {
    available_ = tray_.available();
    connect(&tray_, &X11TrayWatcher::availableChanged, this, &QtTrayShell::trayChanged);
    moveTimer_.setInterval(kMoveIntervalMs);
    connect(&moveTimer_, &QTimer::timeout, this, &QtTrayShell::sendMoves);
    moveTimer_.start();
}

QtTrayShell::~QtTrayShell() {
    entries_.clear();
}

std::uintptr_t QtTrayShell::AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) {
    return windows_.allocate(std::move(procedure));
}

void QtTrayShell::ReleaseMessageWindow(std::uintptr_t window) {
    windows_.release(window);
}

bool QtTrayShell::NotifyIcon(NotifyRequest request, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto it = entries_.find(key);
    switch (request) {
        case NotifyRequest::Add: {
            if (it != entries_.end() || !windows_.contains(data.hWnd)) {
                return false;
            }
            auto entry = std::make_unique<Entry>();
            entry->window = data.hWnd;
            entry->uID = data.uID;
            entry->icon = std::make_unique<QSystemTrayIcon>();
            const Entry* raw = entry.get();
            connect(
                entry->icon.get(), &QSystemTrayIcon::activated, this,
                [this, raw](QSystemTrayIcon::ActivationReason reason) { activated(*raw, reason); });
            apply(*entry, data);
            entries_.emplace(key, std::move(entry));
            return true;
        }
        case NotifyRequest::Modify:
            if (it == entries_.end()) {
                return false;
            }
            apply(*it->second, data);
            return true;
        case NotifyRequest::Delete:
            if (it == entries_.end()) {
                return false;
            }
            it->second->icon->hide();
            entries_.erase(it);
            return true;
    }
    return false;
}

void QtTrayShell::apply(Entry& entry, const NotifyIconData& data) {
    if (const auto picture = entry.take(data)) {
        entry.icon->setIcon(*picture);
    }
    const QString tip = ToolTipOf(TipText(data));
    if (tip != entry.icon->toolTip()) {
        entry.icon->setToolTip(tip);
    }
    showIfPossible(entry);
}

void QtTrayShell::showIfPossible(Entry& entry) {
    // A notification area shows nothing for an icon without a picture; it waits for one.
    if (available_ && !entry.icon->isVisible() && !entry.icon->icon().isNull()) {
        entry.icon->show();
    }
}

void QtTrayShell::post(const Entry& entry, std::uint32_t mouseMessage) const {
    entry.post(windows_, mouseMessage);
}

void QtTrayShell::activated(const Entry& entry, QSystemTrayIcon::ActivationReason reason) const {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            post(entry, TrayEvent::LeftButtonDown);
            post(entry, TrayEvent::LeftButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            post(entry, TrayEvent::LeftButtonDoubleClick);
            post(entry, TrayEvent::LeftButtonUp);
            break;
        case QSystemTrayIcon::Context:
            post(entry, TrayEvent::RightButtonDown);
            post(entry, TrayEvent::RightButtonUp);
            break;
        case QSystemTrayIcon::MiddleClick:
            post(entry, TrayEvent::MiddleButtonDown);
            post(entry, TrayEvent::MiddleButtonUp);
            break;
        case QSystemTrayIcon::Unknown:
            break;
    }
}

void QtTrayShell::sendMoves() const {
    if (!available_) {
        return;
    }
    for (const auto& [key, entry] : entries_) {
        if (entry->icon->isVisible()) {
            post(*entry, TrayEvent::MouseMove);
        }
    }
}

void QtTrayShell::trayChanged(bool available) {
    available_ = available;
    if (available_) {
        for (auto& [key, entry] : entries_) {
            // An icon shown while there was no area was never embedded: it is shown anew.
            entry->icon->hide();
            showIfPossible(*entry);
        }
    }
    emit availableChanged(available_);
}

QSystemTrayIcon* QtTrayShell::trayIcon(std::uintptr_t window, std::uint32_t uID) const {
    const auto it = entries_.find({window, uID});
    return it == entries_.end() ? nullptr : it->second->icon.get();
}

ScreenPoint QtTrayShell::GetCursorPos() const {
    return QtCursorPos();
}

bool QtTrayShell::KeyDown(VirtualKey key) const {
    return QtKeyDown(key);
}

}  // namespace surftally
