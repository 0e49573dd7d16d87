#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/TIcon.h"
#include "platform/TrayShell.h"

namespace surftally {

class TrayApplication;
class TTrayIcon;

enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Members of a shift state, in the order of the set.
enum ShiftMember : std::uint8_t {
    ssShift = 1 << 0,
    ssAlt = 1 << 1,
    ssCtrl = 1 << 2,
    ssLeft = 1 << 3,
    ssRight = 1 << 4,
    ssMiddle = 1 << 5,
};
using TShiftState = std::uint8_t;

using TNotifyEvent = std::function<void(TTrayIcon* Sender)>;
using TMouseMoveEvent = std::function<void(TTrayIcon* Sender, TShiftState Shift, int X, int Y)>;
using TMouseEvent =
    std::function<void(TTrayIcon* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// A menu the icon pops up on a right press. The menu tells the icon when it goes away.
class TPopupMenu {
public:
    TPopupMenu() = default;
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    virtual ~TPopupMenu();
    virtual void Popup(int X, int Y) = 0;

private:
    friend class TTrayIcon;
    // The icons that refer to this menu; each drops its reference when the menu goes.
    std::vector<TTrayIcon*> users_;
};

// One icon in the notification area for as long as the object lives, with its tip and its
// mouse events. The shell delivers its messages to the procedure the icon gives to
// TrayShell::AllocateMessageWindow.
class TTrayIcon {
public:
    // Adds the icon; raises std::runtime_error("Cannot create shell notification icon") when
    // the shell refuses.
    TTrayIcon(TrayShell& shell, TrayApplication& application);
    virtual ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    const std::string& Hint() const { return Hint_; }
    virtual void setHint(const std::string& value);

    const TIcon& Icon() const { return Icon_; }
    virtual void setIcon(const TIcon& value);

    TPopupMenu* PopupMenu() const { return PopupMenu_; }
    void setPopupMenu(TPopupMenu* menu);

    const NotifyIconData& record() const { return data_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMinimize;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnRestore;

protected:
    virtual void ShowPopupMenu();
    virtual void FireClick();
    virtual void FireDblClick();
    virtual void RemoveIcon();
    virtual void FireMouseMove(TShiftState Shift, int X, int Y);
    virtual void FireMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void FireMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void HandleMessage(TrayMessage& message);
    virtual void ModifyIcon();
    virtual void ApplicationMinimized();
    virtual void ApplicationRestored();

private:
    friend class TPopupMenu;

    TrayShell& shell_;
    TrayApplication& application_;
    TIcon Icon_;
    NotifyIconData data_{};
    std::uintptr_t window_ = 0;
    std::string Hint_;
    TPopupMenu* PopupMenu_ = nullptr;
    bool clickPending_ = false;
    // Cleared at destruction, so a dispatch whose handler destroyed the icon stops there.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace surftally
