#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

#include "Colours.h"
#include "DataFolder.h"
#include "SharedState.h"
#include "TickView.h"

namespace surftally {

class BalanceTick;
class Clock;
class ConnectionFlags;
class TForm2;
class TrayApplication;
class TrayShell;
class TTrayIcon;

// The display strip: a borderless, always-on-top window 120 pixels wide with no taskbar
// entry. It owns the shared state, the balance tick's timer, the one-shot hide timer and the
// notification icon, and paints what the tick tells it to.
class TForm1 : public QWidget, public TickView {
    Q_OBJECT

public:
    // Loads an icon file into the application icon; raises StoreError ("Cannot open file %s")
    // when the file cannot be loaded.
    using IconLoader = std::function<void(const std::filesystem::path&)>;

    // Adds the notification icon; raises its failure ("Cannot create shell notification
    // icon"), in which case the program cannot start.
    TForm1(DataFolder folder, const Clock& clock, ConnectionFlags& flags, TrayShell& shell,
           TrayApplication& application, IconLoader loadIcon, QWidget* parent = nullptr);
    ~TForm1() override;

    SharedState& state() { return state_; }
    const DataFolder& folder() const { return folder_; }
    const Clock& clock() const { return clock_; }

    // The settings dialog, created after this window.
    void setSettings(TForm2* form2) { Form2 = form2; }
    // Whether the desktop has a notification area; without one the strip is never hidden, so
    // that the program stays reachable.
    void setNotificationAreaCheck(std::function<bool()> check) {
        trayAvailable_ = std::move(check);
    }

    // Shows or hides the strip (the Hide switch and the icon click).
    void setDisplayVisible(bool visible);
    // Shows the status strip beneath the display (window 37 high) or hides it (25 high).
    void showStatusStrip(bool shown);

    QLabel* BackImage = nullptr;
    QLabel* Display = nullptr;
    QLabel* Status = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    std::unique_ptr<TTrayIcon> TrayIcon1;

    // Event handlers.
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();
    void DisplayMouseMove();
    void DisplayMouseLeave();
    void DisplayClick();
    void StatusClick();
    void StatusMouseMove();
    void TrayIcon1Click();
    void TrayIcon1DblClick();
    void TrayIcon1MouseMove();
    // The notification area came or went; without one a hidden strip is shown again.
    void NotificationAreaChanged(bool available);

    // TickView.
    std::string displayText() const override;
    void setDisplayText(const std::string& text) override;
    Colour displayBackground() const override { return displayBackground_; }
    void setDisplayColours(Colour background, Colour text) override;
    std::string statusText() const override;
    void setStatusText(const std::string& text) override;
    void setStatusColours(Colour background, Colour text) override;
    bool freezeChecked() const override;
    bool settingsHidden() const override;
    bool windowVisible() const override { return isVisible(); }
    void showIcon(StateIcon icon) override;
    void makeTopmost() override;
    void closeWindow() override { close(); }
    void reportError(const std::string& text) override;

    Colour displayTextColour() const { return displayTextColour_; }
    Colour statusBackground() const { return statusBackground_; }
    Colour statusTextColour() const { return statusTextColour_; }

signals:
    // The window was closed: the program ends.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createBackImage();
    void createDisplay();
    void createStatus();
    void createTimers();
    void createTrayIcon(TrayShell& shell, TrayApplication& application);
    void FormCreate();
    bool probeOnline();

    DataFolder folder_;
    const Clock& clock_;
    ConnectionFlags& flags_;
    TrayApplication& application_;
    IconLoader loadIcon_;
    SharedState state_;
    std::unique_ptr<BalanceTick> tick_;
    TForm2* Form2 = nullptr;
    std::function<bool()> trayAvailable_;

    Colour displayBackground_ = clBlack;
    Colour displayTextColour_ = clYellow;
    Colour statusBackground_ = clNavy;
    Colour statusTextColour_ = clYellow;
    QObject* pressed_ = nullptr;  // the label a left press began on
};

}  // namespace surftally
