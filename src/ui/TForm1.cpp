#include "TForm1.h"

#include <QGuiApplication>
#include <QScreen>

#include "Colours.h"
#include "DisplayLook.h"
#include "StoredState.h"

namespace surftally {

TForm1::TForm1(DataFolder folder, Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      folder_(std::move(folder)),
      clock_(clock) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Surftally"));
    setFixedSize(DisplayLook::kWidth, DisplayLook::kHeight);
    createBackImage();
    createDisplay();
    FormCreate();
}

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
    QPalette palette = Display->palette();
    palette.setColor(QPalette::Window, DisplayLook::toQColor(clBlack));
    palette.setColor(QPalette::WindowText, DisplayLook::toQColor(clYellow));
    Display->setPalette(palette);
    Display->setCursor(Qt::PointingHandCursor);
    Display->setToolTip(QStringLiteral("Available Time on Your Internet Account - Calculated"));
}

void TForm1::FormCreate() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen != nullptr ? screen->geometry().height() : 768;
    const StoredStateResult result = ReadStoredState(state_, folder_, clock_, screenHeight);
    move(result.left.value_or(0), result.top.value_or(0));
    if (state_.BalanceKnown) {
        Display->setText(QString::fromStdString(state_.RemainText));
    }
}

}  // namespace surftally
