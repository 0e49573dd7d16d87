#include "FormsFixture.h"
#include "Texts.h"

using namespace formstest;

namespace {

int trailingBlanks(const std::vector<std::string>& lines) {
    int n = 0;
    for (const std::string& line : lines) {
        n += !line.empty() && line.back() == ' ' ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST_F(FormsTest, HelpWindowInEnglish) {
    build();
    EXPECT_EQ(form4->Caption(), " Help - Legend");
    EXPECT_EQ(form4->Width(), 536);
    EXPECT_EQ(form4->Height(), 201);
    EXPECT_EQ(form4->Memo1->Bounds().Width, 393);
    EXPECT_EQ(form4->Memo1->Bounds().Height, 161);
    EXPECT_EQ(form4->Memo2->Bounds().Height, 186);
    EXPECT_TRUE(form4->Memo1->Visible());
    EXPECT_FALSE(form4->Memo2->Visible());

    const std::vector<std::string>& lines = form4->Memo1->Lines();
    ASSERT_EQ(lines.size(), 44u);
    EXPECT_EQ(lines[0], "How to set Surftally?");
    EXPECT_EQ(lines[1], "====================");
    EXPECT_EQ(lines[2],
              "- Click on Surftally display and set available time on your Internet account ");
    EXPECT_EQ(lines[8], "- Freeze Surftally if you are useing another Internet account.");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[11], "LEGEND:");
    EXPECT_EQ(lines[15], "========================================");
    EXPECT_EQ(lines[29], "====================================");
    EXPECT_EQ(lines[42], "TIMER mode (hold) - Available Time on Your Internet Account - ");
    EXPECT_EQ(lines[43], "Calculated");
    EXPECT_EQ(trailingBlanks(lines), 6);

    EXPECT_EQ(form4->Button3->Caption(), "Close");
    EXPECT_EQ(form4->Button3->Left(), 455);
    EXPECT_TRUE(form4->Button3->Font().Bold);
    EXPECT_EQ(form4->Button3->Font().Color, clRed);

    const struct {
        TImage* image;
        int top;
        const char* text;
        Colour background;
        Colour textColour;
    } samples[] = {
        {form4->Image1, 8, "21:13:57", clBlack, clYellow},
        {form4->Image2, 40, "013:26:09", clGreen, clWhite},
        {form4->Image3, 72, "013:25:53", clYellow, clBlack},
        {form4->Image4, 104, "013:25:11", clRed, clWhite},
        {form4->Image5, 136, "011:44:27", clWhite, clBlue},
    };
    for (const auto& s : samples) {
        EXPECT_EQ(s.image->Top(), s.top) << s.text;
        EXPECT_EQ(s.image->Left(), 408) << s.text;
        EXPECT_EQ(s.image->Picture().Text, s.text);
        EXPECT_EQ(s.image->Picture().Background, s.background) << s.text;
        EXPECT_EQ(s.image->Picture().TextColour, s.textColour) << s.text;
    }
}

TEST_F(FormsTest, HelpWindowInSerbian) {
    data.put("srpski.dat", "");
    build();
    EXPECT_EQ(form4->Caption(), " Pomoc - Legenda");
    EXPECT_FALSE(form4->Memo1->Visible());
    EXPECT_TRUE(form4->Memo2->Visible());
    EXPECT_EQ(form4->Button3->Caption(), "Zatvori");
    const std::vector<std::string>& lines = form4->Memo2->Lines();
    ASSERT_EQ(lines.size(), 47u);
    EXPECT_EQ(lines[0], "Kako podesiti Surftally?");
    EXPECT_EQ(lines[1], "======================");
    EXPECT_EQ(lines[7],
              "jeftiniji period, podesite popust na NULU ! Za korisnike PTT NET-a u Srbiji");
    EXPECT_EQ(lines[8], "vec je sve podeseno u vezi popusta.");
    EXPECT_EQ(lines[13], "=========");
    EXPECT_EQ(lines[46], "proracunato");
    EXPECT_EQ(trailingBlanks(lines), 8);
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
