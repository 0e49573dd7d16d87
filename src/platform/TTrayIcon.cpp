#include "platform/TTrayIcon.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/TrayApplication.h"

namespace surftally {

namespace {

constexpr std::uint32_t kCallbackMessage = TrayEvent::User + 1;
constexpr std::size_t kTipBytes = sizeof(NotifyIconData::szTip) - 1;

void copyTip(NotifyIconData& data, const std::string& text) {
    std::memset(data.szTip, 0, sizeof data.szTip);
    std::memcpy(data.szTip, text.data(), std::min(text.size(), kTipBytes));
}

}  // namespace

TPopupMenu::~TPopupMenu() {
    for (TTrayIcon* icon : users_) {
        icon->PopupMenu_ = nullptr;
    }
}

TTrayIcon::TTrayIcon(TrayShell& shell, TrayApplication& application)
    : shell_(shell), application_(application) {
    Icon_.Assign(application_.Icon());

    data_ = NotifyIconData{};
    data_.cbSize = shell_.RecordSize();
    window_ =
        shell_.AllocateMessageWindow([this](TrayMessage& message) { HandleMessage(message); });
    data_.hWnd = window_;
    data_.hIcon = Icon_.Handle();
    const std::string title = application_.Title();
    copyTip(data_, title);
    data_.uFlags = NotifyFlag::Message | NotifyFlag::Icon;
    if (!title.empty()) {
        data_.uFlags |= NotifyFlag::Tip;
    }
    data_.uCallbackMessage = kCallbackMessage;

    if (!shell_.NotifyIcon(NotifyRequest::Add, data_)) {
        // The destructor does not run for a half-built object: give the window back here.
        shell_.ReleaseMessageWindow(window_);
        throw std::runtime_error("Cannot create shell notification icon");
    }

    application_.setOnMinimize([this] { ApplicationMinimized(); });
    application_.setOnRestore([this] { ApplicationRestored(); });
}

TTrayIcon::~TTrayIcon() {
    *alive_ = false;
    // Nothing may call into the object once it is gone: unhook the application and leave
    // the menu.
    application_.setOnMinimize({});
    application_.setOnRestore({});
    setPopupMenu(nullptr);

    // The removal names the message window, which must still exist then: one that names a
    // destroyed window can leave a ghost icon in the notification area.
    shell_.NotifyIcon(NotifyRequest::Delete, data_);
    shell_.ReleaseMessageWindow(window_);
    Icon_.setImage(nullptr);
}

void TTrayIcon::setHint(const std::string& value) {
    if (value == Hint_) {
        return;
    }
    Hint_ = value;
    copyTip(data_, value);
    if (!value.empty()) {
        data_.uFlags |= NotifyFlag::Tip;
    } else {
        data_.uFlags &= ~NotifyFlag::Tip;
    }
    ModifyIcon();
}

void TTrayIcon::setIcon(const TIcon& value) {
    if (&value == &Icon_) {
        return;
    }
    Icon_.Assign(value);
    data_.hIcon = Icon_.Handle();
    ModifyIcon();
}

void TTrayIcon::setPopupMenu(TPopupMenu* menu) {
    if (menu == PopupMenu_) {
        return;
    }
    if (PopupMenu_ != nullptr) {
        auto& users = PopupMenu_->users_;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
    }
    PopupMenu_ = menu;
    if (PopupMenu_ != nullptr) {
        PopupMenu_->users_.push_back(this);
    }
}

void TTrayIcon::ShowPopupMenu() {
    if (PopupMenu_ != nullptr && !application_.IsWindowVisible()) {
        const ScreenPoint at = shell_.GetCursorPos();
        PopupMenu_->Popup(at.X, at.Y);
    }
}

void TTrayIcon::FireClick() {
    if (OnClick) {
        OnClick(this);
    }
}

void TTrayIcon::FireDblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TTrayIcon::RemoveIcon() {
    shell_.NotifyIcon(NotifyRequest::Delete, data_);
}

void TTrayIcon::FireMouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) {
        OnMouseMove(this, Shift, X, Y);
    }
}

void TTrayIcon::FireMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) {
        OnMouseDown(this, Button, Shift, X, Y);
    }
}

void TTrayIcon::FireMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) {
        OnMouseUp(this, Button, Shift, X, Y);
    }
}

void TTrayIcon::HandleMessage(TrayMessage& message) {
    switch (message.Msg) {
        case TrayEvent::QueryEndSession:
            message.Result = 1;
            return;
        case TrayEvent::EndSession:
            if (message.WParam != 0) {
                RemoveIcon();
            }
            return;
        case kCallbackMessage:
            break;
        default:
            return;
    }

    const auto mouse = static_cast<std::uint32_t>(message.LParam);
    if (mouse < TrayEvent::MouseMove || mouse > TrayEvent::MiddleButtonDoubleClick) {
        return;
    }
    if (mouse == TrayEvent::LeftButtonDoubleClick || mouse == TrayEvent::RightButtonDoubleClick ||
        mouse == TrayEvent::MiddleButtonDoubleClick) {
        FireDblClick();
        return;
    }

    // Keys and pointer are read once, before any handler runs.
    TShiftState keys = 0;
    if (shell_.KeyDown(VirtualKey::Shift)) {
        keys |= ssShift;
    }
    if (shell_.KeyDown(VirtualKey::Control)) {
        keys |= ssCtrl;
    }
    if (shell_.KeyDown(VirtualKey::Menu)) {
        keys |= ssAlt;
    }
    const ScreenPoint at = shell_.GetCursorPos();
    // A handler may destroy the icon; nothing after it may then touch the object.
    const std::shared_ptr<bool> alive = alive_;

    switch (mouse) {
        case TrayEvent::MouseMove:
            FireMouseMove(keys, at.X, at.Y);
            break;
        case TrayEvent::LeftButtonDown:
            FireMouseDown(TMouseButton::mbLeft, keys | ssLeft, at.X, at.Y);
            if (*alive) {
                clickPending_ = true;
            }
            break;
        case TrayEvent::LeftButtonUp:
            if (clickPending_) {
                clickPending_ = false;
                FireClick();
                if (!*alive) {
                    return;
                }
            }
            FireMouseUp(TMouseButton::mbLeft, keys | ssLeft, at.X, at.Y);
            break;
        case TrayEvent::RightButtonDown:
            FireMouseDown(TMouseButton::mbRight, keys | ssRight, at.X, at.Y);
            if (*alive) {
                ShowPopupMenu();
            }
            break;
        case TrayEvent::RightButtonUp:
            FireMouseUp(TMouseButton::mbRight, keys | ssRight, at.X, at.Y);
            break;
        case TrayEvent::MiddleButtonDown:
            FireMouseDown(TMouseButton::mbMiddle, keys | ssMiddle, at.X, at.Y);
            break;
        case TrayEvent::MiddleButtonUp:
            FireMouseUp(TMouseButton::mbMiddle, keys | ssMiddle, at.X, at.Y);
            break;
        default:
            break;
    }
}

void TTrayIcon::ModifyIcon() {
    shell_.NotifyIcon(NotifyRequest::Modify, data_);
}

void TTrayIcon::ApplicationMinimized() {
    const std::shared_ptr<bool> alive = alive_;
    application_.ShowWindow(false);
    if (*alive && OnMinimize) {
        OnMinimize(this);
    }
}

void TTrayIcon::ApplicationRestored() {
    const std::shared_ptr<bool> alive = alive_;
    application_.ShowWindow(true);
    if (*alive && OnRestore) {
        OnRestore(this);
    }
}

}  // namespace surftally
