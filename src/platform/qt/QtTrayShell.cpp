#include "QtTrayShell.h"

#include <QCursor>
#include <QGuiApplication>
#include <QString>

#include <cstring>

#include "QtIconImage.h"
#include "QtMessageWindow.h"

namespace surftally {

struct QtTrayShell::Entry {
    std::uintptr_t window = 0;
    std::uint32_t uID = 0;
    std::uint32_t callbackMessage = 0;
    bool hasCallback = false;
    std::unique_ptr<QSystemTrayIcon> icon;
};

namespace {

// The tip as text. The record's 63-byte cut may split a UTF-8 sequence; the broken tail
// is dropped rather than shown as a replacement character.
QString tipText(const NotifyIconData& data) {
    std::size_t length = strnlen(data.szTip, sizeof data.szTip);
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(data.szTip[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start > 0) {
        const auto lead = static_cast<unsigned char>(data.szTip[start - 1]);
        const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (lead >= 0xC0 && length - (start - 1) < need) {
            length = start - 1;
        }
    }
    return QString::fromUtf8(data.szTip, static_cast<qsizetype>(length));
}

}  // namespace

QtTrayShell::QtTrayShell(QObject* parent) : QObject(parent) {
    available_ = QSystemTrayIcon::isSystemTrayAvailable();
    moveTimer_.setInterval(kMoveIntervalMs);
    connect(&moveTimer_, &QTimer::timeout, this, &QtTrayShell::sendMoves);
    moveTimer_.start();
    pollTimer_.setInterval(kAvailabilityPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &QtTrayShell::pollAvailability);
    pollTimer_.start();
}

QtTrayShell::~QtTrayShell() {
    entries_.clear();
    for (auto& [handle, window] : windows_) {
        window->close();
    }
}

std::uintptr_t QtTrayShell::AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) {
    const std::uintptr_t handle = nextWindow_++;
    const auto failed = [this](std::exception_ptr error) {
        if (!onProcedureError_) {
            std::terminate();
        }
        onProcedureError_(error);
    };
    windows_[handle] = new QtMessageWindow(std::move(procedure), failed, this);
    return handle;
}

void QtTrayShell::ReleaseMessageWindow(std::uintptr_t window) {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        QtMessageWindow* released = it->second;
        windows_.erase(it);
        released->close();
    }
}

bool QtTrayShell::NotifyIcon(NotifyMessage message, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const auto it = entries_.find(key);
    switch (message) {
        case NotifyMessage::NIM_ADD: {
            if (it != entries_.end() || windows_.count(data.hWnd) == 0) {
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
    if ((data.uFlags & NIF_ICON) != 0) {
        const QIcon picture = QtIconImage::find(data.hIcon);
        // A handle whose image is gone keeps the picture shown before.
        if (!picture.isNull() || data.hIcon == 0) {
            entry.icon->setIcon(picture);
        }
    }
    entry.icon->setToolTip((data.uFlags & NIF_TIP) != 0 ? tipText(data) : QString());
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
    const auto it = windows_.find(entry.window);
    if (it == windows_.end()) {
        return;
    }
    TrayMessage message;
    message.Msg = entry.callbackMessage;
    message.WParam = entry.uID;
    message.LParam = static_cast<std::intptr_t>(mouseMessage);
    it->second->post(message);
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
    for (const auto& [key, entry] : entries_) {
        if (entry->icon->isVisible()) {
            post(*entry, WM_MOUSEMOVE);
        }
    }
}

void QtTrayShell::pollAvailability() {
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == available_) {
        return;
    }
    available_ = now;
    if (available_) {
        for (auto& [key, entry] : entries_) {
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
    const QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

bool QtTrayShell::KeyDown(VirtualKey key) const {
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    switch (key) {
        case VirtualKey::Shift:
            return keys.testFlag(Qt::ShiftModifier);
        case VirtualKey::Control:
            return keys.testFlag(Qt::ControlModifier);
        case VirtualKey::Menu:
            return keys.testFlag(Qt::AltModifier);
    }
    return false;
}

}  // namespace surftally
