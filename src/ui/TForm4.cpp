#include "TForm4.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "Colours.h"
#include "DisplayLook.h"
#include "Globals.h"
#include "HelpTexts.h"
#include "Texts.h"

namespace surftally {

namespace {

QString joinLines(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) {
        out << QString::fromStdString(line);
    }
    return out.join(QLatin1Char('\n'));
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, QRect geometry,
                         const std::vector<std::string>& lines) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = memo->font();
    font.setPixelSize(11);
    memo->setFont(font);
    memo->setPlainText(joinLines(lines));
    return memo;
}

struct Sample {
    const char* name;
    int top;
    const char* text;
    Colour background;
    Colour textColour;
};

constexpr Sample kSamples[] = {
    {"Image1", 8, "21:13:57", clBlack, clYellow},    // clock
    {"Image2", 40, "013:26:09", clGreen, clWhite},   // hold
    {"Image3", 72, "013:25:53", clYellow, clBlack},  // countdown
    {"Image4", 104, "013:25:11", clRed, clWhite},    // countdown below the minimum
    {"Image5", 136, "011:44:27", clWhite, clBlue},   // frozen
};

}  // namespace

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form4"));
    setFixedSize(536, 201);
    setWindowTitle(QString::fromUtf8(Texts::HelpCaption.english));
    createMemos();
    createImages();
    createButton();
    FormCreate();
}

void TForm4::createMemos() {
    Memo1 = makeMemo(this, "Memo1", QRect(8, 8, 393, 161), HelpTexts::English());
    Memo2 = makeMemo(this, "Memo2", QRect(8, 7, 393, 186), HelpTexts::Serbian());
    Memo2->hide();
}

void TForm4::createImages() {
    for (const Sample& sample : kSamples) {
        auto* image = new QLabel(this);
        image->setObjectName(QLatin1String(sample.name));
        image->setGeometry(408, sample.top, DisplayLook::kWidth, DisplayLook::kHeight);
        image->setPixmap(QPixmap::fromImage(DisplayLook::render(
            QString::fromLatin1(sample.text), sample.background, sample.textColour)));
    }
}

void TForm4::createButton() {
    Button3 = new QPushButton(QString::fromUtf8(Texts::HelpClose.english), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(455, 174, 73, 20);
    QFont font = Button3->font();
    font.setBold(true);
    Button3->setFont(font);
    QPalette palette = Button3->palette();
    palette.setColor(QPalette::ButtonText, DisplayLook::toQColor(clRed));
    Button3->setPalette(palette);
    Button3->setStyleSheet(QStringLiteral("QPushButton { color: red; font-weight: bold; }"));
    Button3->setAutoDefault(false);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
}

void TForm4::FormCreate() {
    if (Serbian) {
        setWindowTitle(QString::fromUtf8(Texts::HelpCaption.serbian));
        Memo1->hide();
        Memo2->show();
        Button3->setText(QString::fromUtf8(Texts::HelpClose.serbian));
    }
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TForm4::FormShow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    raise();
    activateWindow();
}

void TForm4::Button3Click() {
    hide();
}

}  // namespace surftally
