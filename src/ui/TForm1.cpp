#include "TForm1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>

#include "BalanceTick.h"
#include "ConnectionProbe.h"
#include "Conversions.h"
#include "DisplayLook.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "StoreErrors.h"
#include "StoredState.h"
#include "TForm2.h"
#include "TTrayIcon.h"
#include "Texts.h"
#include "Topmost.h"
#include "TrayApplication.h"

namespace surftally {

namespace {

constexpr int kStatusShownHeight = 37;

void paint(QLabel& label, Colour background, Colour text) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, DisplayLook::toQColor(background));
    palette.setColor(QPalette::WindowText, DisplayLook::toQColor(text));
    label.setPalette(palette);
}

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

TForm1::TForm1(DataFolder folder, const Clock& clock, ConnectionFlags& flags, TrayShell& shell,
               TrayApplication& application, IconLoader loadIcon, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      folder_(std::move(folder)),
      clock_(clock),
      flags_(flags),
      application_(application),
      loadIcon_(std::move(loadIcon)),
      trayAvailable_([] { return QSystemTrayIcon::isSystemTrayAvailable(); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(Texts::Form1Caption));
    setFixedSize(DisplayLook::kWidth, DisplayLook::kHeight);
    createBackImage();
    createDisplay();
    createStatus();
    createTimers();
    createTrayIcon(shell, application);
    FormCreate();
    // The ticks start after the base moment that the creation step took, so that each lands a
    // little past a whole second of counted time rather than around one.
    Timer1->start();
    Timer2->start();
}

TForm1::~TForm1() = default;

void TForm1::createBackImage() {
    BackImage = new QLabel(this);
    BackImage->setObjectName(QStringLiteral("BackImage"));
    BackImage->setGeometry(0, 0, DisplayLook::kWidth, DisplayLook::kHeight);
    BackImage->setPixmap(DisplayLook::backImage());
}

void TForm1::createDisplay() {
    Display = new QLabel(QStringLiteral("000:00:00"), this);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setGeometry(2, 2, DisplayLook::kWidth - 4, DisplayLook::kHeight - 4);
    Display->setAlignment(Qt::AlignCenter);
    Display->setFont(DisplayLook::displayFont());
    Display->setAutoFillBackground(true);
    paint(*Display, displayBackground_, displayTextColour_);
    Display->setCursor(Qt::PointingHandCursor);
    Display->setToolTip(QString::fromUtf8(Texts::DisplayHint.english));
    Display->setMouseTracking(true);
    Display->installEventFilter(this);
}

void TForm1::createStatus() {
    Status = new QLabel(QStringLiteral("Off - Line"), this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setGeometry(0, kStatusShownHeight - DisplayLook::kStatusHeight, DisplayLook::kWidth,
                        DisplayLook::kStatusHeight);
    Status->setAlignment(Qt::AlignCenter);
    Status->setFont(DisplayLook::statusFont());
    Status->setAutoFillBackground(true);
    paint(*Status, statusBackground_, statusTextColour_);
    Status->setCursor(Qt::PointingHandCursor);
    Status->setToolTip(QString::fromUtf8(Texts::StatusHint.english));
    Status->setMouseTracking(true);
    Status->installEventFilter(this);
    Status->hide();
}

void TForm1::createTimers() {
    // The balance tick. A precise timer keeps the ticks a second apart, so that on-line every
    // tick shows the balance one second lower.
    tick_ = std::make_unique<BalanceTick>(state_, clock_, flags_, folder_, *this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    // Applies the stored hide switch once the message loop runs.
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(100);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, [this] { Guarded([this] { Timer2Timer(); }); });
}

void TForm1::createTrayIcon(TrayShell& shell, TrayApplication& application) {
    TrayIcon1 = std::make_unique<TTrayIcon>(shell, application);
    TrayIcon1->setHint(Texts::TrayHint);
    TrayIcon1->OnClick = [this](TTrayIcon*) { Guarded([this] { TrayIcon1Click(); }); };
    TrayIcon1->OnDblClick = [this](TTrayIcon*) { Guarded([this] { TrayIcon1DblClick(); }); };
    TrayIcon1->OnMouseMove = [this](TTrayIcon*, TShiftState, int, int) {
        Guarded([this] { TrayIcon1MouseMove(); });
    };
}

void TForm1::FormCreate() {
    try {
        showIcon(StateIcon::OffLine);
    } catch (const std::exception& e) {
        reportError(e.what());
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen != nullptr ? screen->geometry().height() : 768;
    const StoredStateResult result = ReadStoredState(state_, folder_, clock_, screenHeight);
    move(result.left.value_or(x()), result.top.value_or(y()));
    if (state_.BalanceKnown) {
        Display->setText(QString::fromStdString(state_.RemainText));
    }
    if (!result.error.empty()) {
        reportError(result.error);
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Guarded([this] { FormShow(); });
}

// The strip is a tool window, which the desktop keeps out of the taskbar; nothing more to do.
void TForm1::FormShow() {}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Display && watched != Status) {
        return QWidget::eventFilter(watched, event);
    }
    const bool onDisplay = watched == Display;
    switch (event->type()) {
        case QEvent::MouseMove:
            if (onDisplay) {
                Guarded([this] { DisplayMouseMove(); });
            } else {
                Guarded([this] { StatusMouseMove(); });
            }
            break;
        case QEvent::Leave:
            if (onDisplay) {
                Guarded([this] { DisplayMouseLeave(); });
            }
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                pressed_ = watched;
            }
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* label = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton && pressed_ == watched &&
                label->rect().contains(mouse->position().toPoint())) {
                pressed_ = nullptr;
                if (onDisplay) {
                    Guarded([this] { DisplayClick(); });
                } else {
                    Guarded([this] { StatusClick(); });
                }
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::probeOnline() {
    const bool result = ProbeConnection(flags_, ConnectionText);
    return IsOnline(result, ConnectionText);
}

void TForm1::Timer1Timer() {
    Guarded([this] { tick_->Timer1Timer(); });
}

void TForm1::Timer2Timer() {
    // Stopped first, so that a failure below is reported once rather than every 100 ms.
    Timer2->stop();
    const auto hide = ReadSwitch(folder_.ReadLine("hide.dat"));
    if (hide.has_value()) {
        setDisplayVisible(!*hide);
    }
}

void TForm1::DisplayMouseMove() {
    state_.HoldTicks = 0;
    if (Serbian) {
        Display->setToolTip(QString::fromUtf8(Texts::DisplayHint.serbian));
    }
    if (probeOnline()) {
        return;
    }
    setStatusText(ConnectionText);
    state_.HoverHold = true;
    const std::string stored = folder_.ReadLine("remain.dat");
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
    Form2->show();
    Form2->activateWindow();
    // A clock is never taken for a balance: while the display shows the time of day the
    // settings open with the last balance instead.
    std::string balance = displayText();
    if (!IsBalanceText(balance)) {
        balance = state_.RemainText;
    }
    Form2->Edit->setFieldText(balance);
    Form2->Alarm->setValue(state_.AlarmHours);
    Form2->EconomicBegin->setFieldText(state_.EconomicBeginText);
    Form2->EconomicEnd->setFieldText(state_.EconomicEndText);
    Form2->Procenat->setValue(state_.DiscountPercent);
}

void TForm1::StatusClick() {
    if (ConnectionText == "Off - Line") {
        setDisplayText(state_.RemainText);
    }
    DisplayClick();
}

void TForm1::StatusMouseMove() {
    if (Serbian) {
        Status->setToolTip(QString::fromUtf8(Texts::StatusHint.serbian));
    }
}

void TForm1::TrayIcon1Click() {
    if (Form2 == nullptr) {
        return;
    }
    if (isVisible()) {
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
    TrayIcon1->setHint(ConnectionText + Texts::TipMiddle.pick(Serbian) + state_.RemainText + " ");
}

void TForm1::NotificationAreaChanged(bool available) {
    if (!available && !isVisible() && Form2 != nullptr) {
        setDisplayVisible(true);
        Form2->Hide->setChecked(false);
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
    setFixedSize(DisplayLook::kWidth, shown ? kStatusShownHeight : DisplayLook::kHeight);
    if (shown) {
        Status->raise();
    }
}

std::string TForm1::displayText() const {
    return Display->text().toStdString();
}

void TForm1::setDisplayText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (Display->text() != shown) {
        Display->setText(shown);
    }
}

void TForm1::setDisplayColours(Colour background, Colour text) {
    if (background != displayBackground_ || text != displayTextColour_) {
        displayBackground_ = background;
        displayTextColour_ = text;
        paint(*Display, background, text);
    }
}

std::string TForm1::statusText() const {
    return Status->text().toStdString();
}

void TForm1::setStatusText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (Status->text() != shown) {
        Status->setText(shown);
    }
}

void TForm1::setStatusColours(Colour background, Colour text) {
    if (background != statusBackground_ || text != statusTextColour_) {
        statusBackground_ = background;
        statusTextColour_ = text;
        paint(*Status, background, text);
    }
}

bool TForm1::freezeChecked() const {
    return Form2 != nullptr && Form2->Freeze->isChecked();
}

bool TForm1::settingsHidden() const {
    return Form2 == nullptr || !Form2->isVisible();
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
    TrayIcon1->setIcon(application_.Icon());
}

void TForm1::makeTopmost() {
    MakeTopmost(*this);
}

void TForm1::reportError(const std::string& text) {
    ErrorReporter::instance().report(QString::fromStdString(text));
}

}  // namespace surftally
