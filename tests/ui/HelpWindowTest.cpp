#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "Globals.h"
#include "TForm4.h"
#include "Texts.h"

using namespace surftally;

namespace {

QStringList memoLines(const TForm4& form, const char* name) {
    return form.findChild<QPlainTextEdit*>(QLatin1String(name))
        ->toPlainText()
        .split(QLatin1Char('\n'));
}

struct SerbianScope {
    explicit SerbianScope(bool on) { Serbian = on; }
    ~SerbianScope() { Serbian = false; }
};

}  // namespace

TEST(HelpWindow, EnglishLayoutAndText) {
    SerbianScope english(false);
    TForm4 form;
    EXPECT_EQ(form.size(), QSize(536, 201));
    EXPECT_EQ(form.windowTitle(), QStringLiteral(" Help - Legend"));
    auto* memo1 = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto* memo2 = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo2"));
    ASSERT_TRUE(memo1 && memo2);
    EXPECT_EQ(memo1->geometry(), QRect(8, 8, 393, 161));
    EXPECT_EQ(memo2->geometry(), QRect(8, 7, 393, 186));
    EXPECT_TRUE(memo1->isReadOnly());
    EXPECT_FALSE(memo1->isHidden());
    EXPECT_TRUE(memo2->isHidden());
    EXPECT_EQ(memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QStringList lines = memoLines(form, "Memo1");
    ASSERT_EQ(lines.size(), 44);
    EXPECT_EQ(lines[0], QStringLiteral("How to set Surftally?"));
    EXPECT_EQ(lines[1], QStringLiteral("===================="));
    EXPECT_EQ(lines[2], QStringLiteral("- Click on Surftally display and set available time on "
                                       "your Internet account "));
    EXPECT_EQ(lines[8], QStringLiteral("- Freeze Surftally if you are useing another Internet "
                                       "account."));
    EXPECT_EQ(lines[9], QString());
    EXPECT_EQ(lines[11], QStringLiteral("LEGEND:"));
    EXPECT_EQ(lines[15], QStringLiteral("========================================"));
    EXPECT_EQ(lines[29], QStringLiteral("===================================="));
    EXPECT_EQ(lines[42], QStringLiteral("TIMER mode (hold) - Available Time on Your Internet "
                                        "Account - "));
    EXPECT_EQ(lines[43], QStringLiteral("Calculated"));
    int trailingBlanks = 0;
    for (const QString& line : lines) {
        trailingBlanks += line.endsWith(QLatin1Char(' ')) ? 1 : 0;
    }
    EXPECT_EQ(trailingBlanks, 6);

    auto* close = form.findChild<QPushButton*>(QStringLiteral("Button3"));
    ASSERT_TRUE(close);
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    EXPECT_EQ(close->geometry(), QRect(455, 174, 73, 20));
    EXPECT_TRUE(close->font().bold());
}

TEST(HelpWindow, SerbianTextReplacesEnglish) {
    SerbianScope serbian(true);
    TForm4 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral(" Pomoc - Legenda"));
    EXPECT_TRUE(form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->isHidden());
    EXPECT_FALSE(form.findChild<QPlainTextEdit*>(QStringLiteral("Memo2"))->isHidden());
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("Button3"))->text(),
              QStringLiteral("Zatvori"));

    const QStringList lines = memoLines(form, "Memo2");
    ASSERT_EQ(lines.size(), 47);
    EXPECT_EQ(lines[0], QStringLiteral("Kako podesiti Surftally?"));
    EXPECT_EQ(lines[1], QStringLiteral("======================"));
    EXPECT_EQ(lines[7], QStringLiteral("jeftiniji period, podesite popust na NULU ! Za korisnike "
                                       "PTT NET-a u Srbiji"));
    EXPECT_EQ(lines[8], QStringLiteral("vec je sve podeseno u vezi popusta."));
    EXPECT_EQ(lines[13], QStringLiteral("========="));
    EXPECT_EQ(lines[46], QStringLiteral("proracunato"));
    int trailingBlanks = 0;
    for (const QString& line : lines) {
        trailingBlanks += line.endsWith(QLatin1Char(' ')) ? 1 : 0;
    }
    EXPECT_EQ(trailingBlanks, 8);
}

TEST(HelpWindow, SamplePicturesShowEachState) {
    TForm4 form;
    const struct {
        const char* name;
        int top;
        QColor background;
    } samples[] = {
        {"Image1", 8, Qt::black},
        {"Image2", 40, QColor(0, 128, 0)},
        {"Image3", 72, QColor(255, 255, 0)},
        {"Image4", 104, QColor(255, 0, 0)},
        {"Image5", 136, Qt::white},
    };
    for (const auto& s : samples) {
        auto* label = form.findChild<QLabel*>(QLatin1String(s.name));
        ASSERT_TRUE(label) << s.name;
        EXPECT_EQ(label->geometry(), QRect(408, s.top, 120, 25)) << s.name;
        const QImage image = label->pixmap().toImage();
        EXPECT_EQ(image.pixelColor(0, 0), QColor(153, 153, 153)) << s.name;
        EXPECT_EQ(image.pixelColor(3, 3), s.background) << s.name;
    }
}

TEST(HelpWindow, CloseHidesTheWindow) {
    TForm4 form;
    form.show();
    ASSERT_TRUE(form.isVisible());
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST(TextTable, EveryTextBothLanguages) {
    const auto both = [](const TextPair& t) {
        return std::pair<std::string, std::string>(t.english, t.serbian);
    };
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(both(Texts::DisplayHint), P("Available Time on Your Internet Account - Calculated",
                                          "Dostupno vreme na Vasem Internet racunu - proracunato"));
    EXPECT_EQ(both(Texts::StatusHint),
              P("Click HERE for settings!", "Klikni ovde za podesavanja!"));
    EXPECT_EQ(both(Texts::TipMiddle), P(" ... Available Time: ", " ... Dostupno vreme: "));
    EXPECT_EQ(both(Texts::SettingsCaption),
              P(" Settings - Surftally", " Podesavanje - Surftally  "));
    EXPECT_EQ(both(Texts::Freeze), P("Freeze", "Zamrzni"));
    EXPECT_EQ(both(Texts::Hide), P("Hide (Send to Sys.Tray)", "Smanji u \"System Tray\""));
    EXPECT_EQ(both(Texts::GroupBox1), P("  Time on Your Account  ", "  Vreme na racunu  "));
    EXPECT_EQ(both(Texts::Label2), P("Minimal hours", "Minimalno sati"));
    EXPECT_EQ(both(Texts::GroupBox3), P("  Economic Period  ", "  Jeftiniji period  "));
    EXPECT_EQ(both(Texts::Label3), P("Begin (HH:MM)", "Pocetak(HH:MM)"));
    EXPECT_EQ(both(Texts::Label4), P("End (HH:MM)", "Kraj (HH:MM)"));
    EXPECT_EQ(both(Texts::Label5), P("Discount (%)", "Popust (%)"));
    EXPECT_EQ(both(Texts::Button5), P("Close Application", "Zatvori Program"));
    EXPECT_EQ(both(Texts::HelpCaption), P(" Help - Legend", " Pomoc - Legenda"));
    EXPECT_EQ(both(Texts::HelpClose), P("Close", "Zatvori"));
    EXPECT_STREQ(Texts::TrayHint, " Available Time: hhh:mm:ss ");
    EXPECT_STREQ(Texts::GroupBox2, "  Alarm  ");
    EXPECT_STREQ(Texts::GroupBox4, "  Position  ");
    EXPECT_STREQ(Texts::InvalidInput, "Invalid input value.  Use escape key to abandon changes");
}
