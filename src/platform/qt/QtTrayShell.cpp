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

bool QtTrayShell::NotifyIcon(NotifyMessage message, const NotifyIconData& data) {
    const bool done = notify(message, data);
    refreshMoves(done && message != NotifyMessage::NIM_DELETE);
    return done;
}

bool QtTrayShell::notify(NotifyMessage message, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto it = entries_.find(key);
    switch (message) {
        case NotifyMessage::NIM_ADD: {
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
        case NotifyMessage::NIM_MODIFY:
            if (it == entries_.end()) {
                return false;
            }
            apply(*it->second, data);
            return true;
        case NotifyMessage::NIM_DELETE:
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
            post(entry, WM_LBUTTONDOWN);
            post(entry, WM_LBUTTONUP);
            break;
        case QSystemTrayIcon::DoubleClick:
            post(entry, WM_LBUTTONDBLCLK);
            post(entry, WM_LBUTTONUP);
            break;
        case QSystemTrayIcon::Context:
            post(entry, WM_RBUTTONDOWN);
            post(entry, WM_RBUTTONUP);
            break;
        case QSystemTrayIcon::MiddleClick:
            post(entry, WM_MBUTTONDOWN);
            post(entry, WM_MBUTTONUP);
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
            post(*entry, WM_MOUSEMOVE);
        }
    }
}

void QtTrayShell::refreshMoves(bool updated) {
    moves_.setActive(available_ && !entries_.empty());
    if (updated) {
        moves_.updated();
    }
}

void QtTrayShell::trayChanged(bool available) {
    available_ = available;
    refreshMoves();
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
