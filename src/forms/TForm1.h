#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounting/History.h"
#include "accounting/SharedState.h"
#include "accounting/TickView.h"
#include "forms/StripLook.h"
#include "forms/TForm.h"
#include "forms/TImage.h"
#include "forms/TLabel.h"
#include "forms/TTimer.h"
#include "store/DataFolder.h"

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
class TForm1 : public TForm, public TickView {
public:
    // Loads an icon file into the application icon; raises an error ("Cannot open file %s")
    // when the file cannot be loaded.
    using IconLoader = std::function<void(const std::filesystem::path&)>;

    static constexpr int kWidth = StripLook::kWidth;
    static constexpr int kHeight = StripLook::kHeight;
    static constexpr int kStatusShownHeight = StripLook::kStatusShownHeight;

    // Adds the notification icon; raises its failure ("Cannot create shell notification
    // icon"), in which case the program cannot start.
    TForm1(TApplication& application, DataFolder folder, const Clock& clock, ConnectionFlags& flags,
           TrayShell& shell, TrayApplication& trayApplication, IconLoader loadIcon);
    ~TForm1() override;

    SharedState& state() { return state_; }
    const DataFolder& folder() const { return folder_; }
    const Clock& clock() const { return clock_; }

    // The settings dialog, created after this window.
    void setSettings(TForm2* form2) { Form2 = form2; }
    TForm2* settings() const { return Form2; }
    // Whether the desktop has a notification area; without one the strip is never hidden, so
    // that the program stays reachable.
    void setNotificationAreaCheck(std::function<bool()> check) {
        trayAvailable_ = std::move(check);
    }

    // Ends the program in an orderly way (Close Application, the end of the session, a
    // signal, an installer): the counted balance is saved first, on-line or frozen as the tick
    // saves it, then the program ends. Once the program is ending, does nothing.
    void Close() override;
    // The balance counted up to this moment, in seconds.
    std::int32_t CountedBalance();
    // The on-line spells of history.dat, the one in progress up to date.
    const std::vector<Spell>& Spells();

    // Shows or hides the strip (the Hide switch and the icon click).
    void setDisplayVisible(bool visible);
    // Shows the status strip beneath the display (window 37 high) or hides it (25 high).
    void showStatusStrip(bool shown);
    // The notification area came or went: with Hide checked the strip hides in one that
    // comes; a strip hidden in it comes back when it goes.
    void NotificationAreaChanged(bool available);
    // Another start on the same data folder asked for the strip.
    void BringBack();

    TImage* BackImage = nullptr;
    TLabel* Display = nullptr;
    TLabel* Status = nullptr;
    std::unique_ptr<TTimer> Timer1;
    std::unique_ptr<TTimer> Timer2;
    std::unique_ptr<TTrayIcon> TrayIcon1;

    // Event handlers.
    void FormShow() override;
    void FormClose();
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

    // TickView.
    std::string displayText() const override { return Display->Caption(); }
    void setDisplayText(const std::string& text) override { Display->setCaption(text); }
    Colour displayBackground() const override { return Display->Color(); }
    void setDisplayColours(Colour background, Colour text) override;
    std::string statusText() const override { return Status->Caption(); }
    void setStatusText(const std::string& text) override { Status->setCaption(text); }
    void setStatusColours(Colour background, Colour text) override;
    bool freezeChecked() const override;
    bool settingsHidden() const override;
    bool windowVisible() const override { return Visible(); }
    void showIcon(StateIcon icon) override;
    void makeTopmost() override { MakeTopmost(); }
    // The tick ends the program because the balance file is gone: nothing is saved.
    void closeWindow() override { TForm::Close(); }
    void reportError(const std::string& text) override;

private:
    void describeDisplay();
    void createBackImage();
    TLabel* stripLabel(const char* name, const char* caption, bool visible, TRect bounds,
                       const TFont& font, Colour colour, const char* hint);
    void createDisplay();
    void createStatus();
    void createTimers();
    void createTrayIcon(TrayShell& shell);
    void FormCreate() override;
    void keepOnScreen();
    bool probeOnline();

    DataFolder folder_;
    const Clock& clock_;
    ConnectionFlags& flags_;
    TrayApplication& trayApplication_;
    IconLoader loadIcon_;
    SharedState state_;
    std::unique_ptr<BalanceTick> tick_;
    TForm2* Form2 = nullptr;
    std::function<bool()> trayAvailable_;
    bool ending_ = false;
};

}  // namespace surftally
