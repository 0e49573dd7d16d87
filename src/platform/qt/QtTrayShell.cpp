#include "QtTrayShell.h"

#include <QString>

#include "QtIconImage.h"
#include "QtMessageWindow.h"
#include "QtPointerKeys.h"
#include "QtTipText.h"

namespace surftally {

struct QtTrayShell::Entry {
    std::uintptr_t window = 0;
    std::uint32_t uID = 0;
    std::uint32_t callbackMessage = 0;
    bool hasCallback = false;
    std::uintptr_t shownIcon = 0;  // the handle whose picture the icon shows
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

bool QtTrayShell::NotifyIcon(NotifyMessage message, const NotifyIconData& data) {
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
    entry.hasCallback = (data.uFlags & NIF_MESSAGE) != 0;
    if (entry.hasCallback) {
        entry.callbackMessage = data.uCallbackMessage;
    }
    if ((data.uFlags & NIF_ICON) != 0 && data.hIcon != entry.shownIcon) {
        const QIcon picture = QtIconImage::find(data.hIcon);
        // A handle whose image is gone keeps the picture shown before.
        if (!picture.isNull() || data.hIcon == 0) {
            entry.icon->setIcon(picture);
            entry.shownIcon = data.hIcon;
        }
    }
    const QString tip = TipText(data);
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
    if (!entry.hasCallback) {
        return;
    }
    TrayMessage message;
    message.Msg = entry.callbackMessage;
    message.WParam = entry.uID;
    message.LParam = static_cast<std::intptr_t>(mouseMessage);
    windows_.post(entry.window, message);
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
