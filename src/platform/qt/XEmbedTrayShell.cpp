#include "platform/qt/XEmbedTrayShell.h"

#include <QString>

#include "platform/qt/QtIconRecord.h"
#include "platform/qt/QtPointerKeys.h"
#include "platform/qt/QtTipText.h"

namespace surftally {

struct XEmbedTrayShell::Entry : QtIconRecord {
    std::unique_ptr<QSystemTrayIcon> icon;
};

XEmbedTrayShell::XEmbedTrayShell(QObject* parent) : QObject(parent) {
    available_ = tray_.available();
    connect(&tray_, &X11TrayWatcher::availableChanged, this, &XEmbedTrayShell::trayChanged);
}

XEmbedTrayShell::~XEmbedTrayShell() {
    entries_.clear();
}

std::uintptr_t XEmbedTrayShell::AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) {
    return windows_.allocate(std::move(procedure));
}

void XEmbedTrayShell::ReleaseMessageWindow(std::uintptr_t window) {
    windows_.release(window);
}

bool XEmbedTrayShell::NotifyIcon(NotifyRequest message, const NotifyIconData& data) {
    const bool done = notify(message, data);
    refreshMoves(done && message != NotifyRequest::Delete);
    return done;
}

bool XEmbedTrayShell::notify(NotifyRequest message, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto it = entries_.find(key);
    switch (message) {
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

void XEmbedTrayShell::apply(Entry& entry, const NotifyIconData& data) {
    if (const auto picture = entry.take(data)) {
        entry.icon->setIcon(*picture);
    }
    const QString tip = ToolTipOf(TipText(data));
    if (tip != entry.icon->toolTip()) {
        entry.icon->setToolTip(tip);
    }
    showIfPossible(entry);
}

void XEmbedTrayShell::showIfPossible(Entry& entry) {
    // A notification area shows nothing for an icon without a picture; it waits for one.
    if (available_ && !entry.icon->isVisible() && !entry.icon->icon().isNull()) {
        entry.icon->show();
    }
}

void XEmbedTrayShell::post(const Entry& entry, std::uint32_t mouseMessage) const {
    entry.post(windows_, mouseMessage);
}

void XEmbedTrayShell::activated(const Entry& entry,
                                QSystemTrayIcon::ActivationReason reason) const {
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

void XEmbedTrayShell::sendMoves() const {
    if (!available_) {
        return;
    }
    for (const auto& [key, entry] : entries_) {
        if (entry->icon->isVisible()) {
            post(*entry, TrayEvent::MouseMove);
        }
    }
}

void XEmbedTrayShell::refreshMoves(bool updated) {
    moves_.setActive(available_ && !entries_.empty());
    if (updated) {
        moves_.updated();
    }
}

void XEmbedTrayShell::trayChanged(bool available) {
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

QSystemTrayIcon* XEmbedTrayShell::trayIcon(std::uintptr_t window, std::uint32_t uID) const {
    const auto it = entries_.find({window, uID});
    return it == entries_.end() ? nullptr : it->second->icon.get();
}

ScreenPoint XEmbedTrayShell::GetCursorPos() const {
    return QtCursorPos();
}

bool XEmbedTrayShell::KeyDown(VirtualKey key) const {
    return QtKeyDown(key);
}

}  // namespace surftally
