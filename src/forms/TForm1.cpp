#include "forms/TForm1.h"

#include <algorithm>

#include "accounting/BalanceTick.h"
#include "accounting/ConnectionProbe.h"
#include "accounting/Globals.h"
#include "accounting/StoredState.h"
#include "forms/DisplayState.h"
#include "forms/TForm2.h"
#include "forms/Texts.h"
#include "platform/TTrayIcon.h"
#include "platform/TrayApplication.h"
#include "store/Conversions.h"
#include "store/StoreErrors.h"

namespace surftally {

namespace {

const char* iconFile(StateIcon icon) {
    switch (icon) {
        case StateIcon::Lan:
            return "LAN.ico";
        case StateIcon::Modem:
            return "MODEM.ico";
        case StateIcon::OffLine:
            break;
    }
    return "Off-Line.ico";
}

}  // namespace

TForm1::TForm1(TApplication& application, DataFolder folder, const Clock& clock,
               ConnectionFlags& flags, TrayShell& shell, TrayApplication& trayApplication,
               IconLoader loadIcon)
    : TForm(application, FormStyle::Strip, "Form1"),
      folder_(std::move(folder)),
      clock_(clock),
      flags_(flags),
      trayApplication_(trayApplication),
      loadIcon_(std::move(loadIcon)),
      trayAvailable_([] { return true; }) {
    setCaption(Texts::Form1Caption);
    setBounds({0, 0, kWidth, kHeight});
    OnClose = [this] { FormClose(); };
    createBackImage();
    createDisplay();
    createStatus();
    createTimers();
    createTrayIcon(shell);
    FormCreate();
    // The ticks start after the base moment that the creation step took, so that each lands a
    // little past a whole second of counted time rather than around one.
    Timer1->setEnabled(true);
    Timer2->setEnabled(true);
}

TForm1::~TForm1() = default;

void TForm1::createBackImage() {
    BackImage = add<TImage>(*this, "BackImage", DisplayPicture{});
    BackImage->setBounds({0, 0, kWidth, kHeight});
}

// The display and the status strip: centred text on their own background, under a hand.
TLabel* TForm1::stripLabel(const char* name, const char* caption, bool visible, TRect bounds,
                           const TFont& font, Colour colour, const char* hint) {
    TLabel* label = add<TLabel>(*this, name, caption);
    if (!visible) {
        label->setVisible(false);
    }
    label->setBounds(bounds);
    label->setAlignment(TAlignment::Center);
    label->setFont(font);
    label->setColor(colour);
    label->setOpaque(true);
    label->setCursor(TCursor::HandPoint);
    label->setHint(hint);
    return label;
}

void TForm1::createDisplay() {
    Display = stripLabel("Display", "000:00:00", true, StripLook::DisplayBounds,
                         StripLook::DisplayFont(), clBlack, Texts::DisplayHint.english);
    Display->OnMouseMove = [this] { DisplayMouseMove(); };
    Display->OnMouseLeave = [this] { DisplayMouseLeave(); };
    Display->OnClick = [this] { DisplayClick(); };
}

void TForm1::createStatus() {
    // Docked at the bottom of the window when it is 37 high.
    constexpr int statusHeight = StripLook::kStatusHeight;
    Status = stripLabel("Status", Connection::OffLine, false,
                        {0, kStatusShownHeight - statusHeight, kWidth, statusHeight},
                        StripLook::StatusFont(), clNavy, Texts::StatusHint.english);
    Status->OnMouseMove = [this] { StatusMouseMove(); };
    Status->OnClick = [this] { StatusClick(); };
}

void TForm1::createTimers() {
    tick_ = std::make_unique<BalanceTick>(state_, clock_, flags_, folder_, *this);
    Timer1 = std::make_unique<TTimer>(Application(), "Timer1", 1000);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    Timer2 = std::make_unique<TTimer>(Application(), "Timer2", 100);
    Timer2->OnTimer = [this] { Timer2Timer(); };
}

void TForm1::createTrayIcon(TrayShell& shell) {
    TrayIcon1 = std::make_unique<TTrayIcon>(shell, trayApplication_);
    TrayIcon1->setHint(Texts::TrayHint);
    TApplication& app = Application();
    TrayIcon1->OnClick = [this, &app](TTrayIcon*) { app.Guarded([this] { TrayIcon1Click(); }); };
    TrayIcon1->OnDblClick = [this, &app](TTrayIcon*) {
        app.Guarded([this] { TrayIcon1DblClick(); });
    };
    TrayIcon1->OnMouseMove = [this, &app](TTrayIcon*, TShiftState, int, int) {
        app.Guarded([this] { TrayIcon1MouseMove(); });
    };
}

void TForm1::FormCreate() {
    // A missing picture is reported and the stored state is still read, so that the balance
    // counts and saves as it should.
    try {
        showIcon(StateIcon::OffLine);
    } catch (const std::exception& e) {
        reportError(e.what());
    }
    const int screenHeight = Application().toolkit().screenSize().Height;
    const StoredStateResult result = ReadStoredState(state_, folder_, clock_, screenHeight);
    setBounds({result.left.value_or(Left()), result.top.value_or(Top()), Width(), Height()});
    keepOnScreen();
    if (state_.BalanceKnown) {
        Display->setCaption(state_.RemainText);
    }
    if (!result.error.empty()) {
        reportError(result.error);
    }
}

// The strip has no taskbar entry of its own; the application's window is hidden too.
void TForm1::FormShow() {
    trayApplication_.ShowWindow(false);
}

// The program ends: nothing counts, nothing is left on the desktop but a message that says
// why, until the user has read it.
void TForm1::FormClose() {
    ending_ = true;
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    if (Form2 != nullptr) {
        Form2->HideAll();
    }
    TrayIcon1.reset();
    Application().Terminate();
}

void TForm1::Close() {
    if (ending_) {
        return;
    }
    Application().Guarded([this] { tick_->SaveCounted(); });
    TForm::Close();
}

const std::vector<Spell>& TForm1::Spells() {
    return tick_->history().Spells();
}

std::int32_t TForm1::CountedBalance() {
    return tick_->CountedBalance();
}

bool TForm1::probeOnline() {
    const bool result = ProbeConnection(flags_, ConnectionText);
    return IsOnline(result, ConnectionText);
}

void TForm1::Timer1Timer() {
    tick_->Timer1Timer();
}

void TForm1::Timer2Timer() {
    // Stopped first, so that a failure below is reported once rather than every 100 ms.
    Timer2->setEnabled(false);
    const auto hide = folder_.ReadSwitch(Switch::Hide);
    if (hide.has_value()) {
        setDisplayVisible(!*hide);
    }
}

void TForm1::DisplayMouseMove() {
    state_.HoldTicks = 0;
    if (Serbian) {
        Display->setHint(Texts::DisplayHint.serbian);
    }
    if (probeOnline()) {
        return;
    }
    setStatusText(ConnectionText);
    state_.HoverHold = true;
    const std::string stored = folder_.ReadBalance();
    setDisplayText(stored);
    const Colour background = StrToInt(Field(stored, 1, 3)) < state_.AlarmHours ? clRed : clGreen;
    setDisplayColours(background, clWhite);
}

void TForm1::DisplayMouseLeave() {
    if (!probeOnline()) {
        setStatusText(ConnectionText);
        state_.HoverHold = false;
    }
}

void TForm1::DisplayClick() {
    if (Form2 == nullptr) {
        return;
    }
    Form2->Show();
    Form2->Activate();
    // A clock is never taken for a balance: while the display shows the time of day the
    // settings open with the last balance instead.
    std::string balance = displayText();
    if (!IsBalanceText(balance)) {
        balance = state_.RemainText;
    }
    Form2->Edit->setText(balance);
    Form2->Alarm->setValue(state_.AlarmHours);
    Form2->EconomicBegin->setText(state_.EconomicBeginText);
    Form2->EconomicEnd->setText(state_.EconomicEndText);
    Form2->Procenat->setValue(state_.DiscountPercent);
}

void TForm1::StatusClick() {
    if (ConnectionText == Connection::OffLine) {
        setDisplayText(state_.RemainText);
    }
    DisplayClick();
}

void TForm1::StatusMouseMove() {
    if (Serbian) {
        Status->setHint(Texts::StatusHint.serbian);
    }
}

void TForm1::TrayIcon1Click() {
    if (Form2 == nullptr) {
        return;
    }
    if (Visible()) {
        if (!trayAvailable_()) {
            return;
        }
        setDisplayVisible(false);
        Form2->Hide->setChecked(true);
    } else {
        setDisplayVisible(true);
        Form2->Hide->setChecked(false);
    }
}

void TForm1::TrayIcon1DblClick() {
    StatusClick();
}

void TForm1::TrayIcon1MouseMove() {
    if (TrayIcon1 != nullptr) {
        TrayIcon1->setHint(ConnectionText + Texts::TipMiddle.pick(Serbian) + state_.RemainText +
                           " ");
    }
}

// A place stored on a bigger screen, or before the resolution or scale changed, would leave
// the strip partly or wholly off the screen, where the spin edits cannot move it: it goes to
// the nearest place where it is whole, with its status strip too. The stored text stays.
void TForm1::keepOnScreen() {
    const TSize screen = Application().toolkit().screenSize();
    const int maxLeft = std::max(screen.Width - kWidth, 0);
    const int maxTop = std::max(screen.Height - kStatusShownHeight, 0);
    if (Left() < 0 || Left() > maxLeft || Top() < 0 || Top() > maxTop) {
        setBounds(
            {std::clamp(Left(), 0, maxLeft), std::clamp(Top(), 0, maxTop), Width(), Height()});
    }
}

void TForm1::setDisplayVisible(bool visible) {
    if (!visible && !trayAvailable_()) {
        return;
    }
    setVisible(visible);
}

void TForm1::showStatusStrip(bool shown) {
    Status->setVisible(shown);
    setHeight(shown ? kStatusShownHeight : kHeight);
}

void TForm1::NotificationAreaChanged(bool available) {
    if (available) {
        // An area that comes after the program (the panel starts later at log-in) lets the
        // Hide switch take effect, which had nowhere to hide the strip before.
        if (Form2 != nullptr && Form2->Hide->Checked()) {
            setDisplayVisible(false);
        }
    } else if (!Visible()) {
        BringBack();
    }
}

void TForm1::BringBack() {
    setVisible(true);
    if (Form2 != nullptr) {
        Form2->Hide->setChecked(false);
    }
    MakeTopmost();
}

void TForm1::setDisplayColours(Colour background, Colour text) {
    Display->setColor(background);
    Display->setFontColor(text);
    describeDisplay();
}

void TForm1::setStatusColours(Colour background, Colour text) {
    Status->setColor(background);
    Status->setFontColor(text);
    describeDisplay();
}

// The display's name is the text it shows; the description says what that is. The tick sets
// both colours every second, so the words follow the state and the connection.
void TForm1::describeDisplay() {
    Display->setAccessibleDescription(
        DisplayStateText(Display->Color(), Display->Font().Color, ConnectionText, Serbian));
}

bool TForm1::freezeChecked() const {
    return Form2 != nullptr && Form2->Freeze->Checked();
}

bool TForm1::settingsHidden() const {
    return Form2 == nullptr || !Form2->Visible();
}

void TForm1::showIcon(StateIcon icon) {
    try {
        loadIcon_(folder_.file(iconFile(icon)));
    } catch (const StoreError&) {
        throw;
    } catch (const std::exception& e) {
        // The tick reports a failed load as any other failure of the data folder.
        throw StoreError(e.what());
    }
    if (TrayIcon1 != nullptr) {
        TrayIcon1->setIcon(trayApplication_.Icon());
    }
}

void TForm1::reportError(const std::string& text) {
    Application().Reporter().report(text);
}

}  // namespace surftally
