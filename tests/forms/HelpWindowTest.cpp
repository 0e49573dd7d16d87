#include <map>
#include <set>

#include "forms/StripLook.h"
#include "forms/Texts.h"
#include "tests/forms/FormsFixture.h"

using namespace formstest;

namespace {

int trailingBlanks(const std::vector<std::string>& lines) {
    int n = 0;
    for (const std::string& line : lines) {
        n += !line.empty() && line.back() == ' ' ? 1 : 0;
    }
    return n;
}

bool overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

// Every visible control lies whole inside its parent (the window or its group box), and no
// two visible controls with the same parent cover each other.
void expectLaidOut(const TForm& form) {
    const auto controls = form.Controls();
    for (const TControl* c : controls) {
        if (!c->Visible()) {
            continue;
        }
        SCOPED_TRACE(form.Name() + "." + c->Name());
        const TRect& b = c->Bounds();
        EXPECT_GT(b.Width, 0);
        EXPECT_GT(b.Height, 0);
        EXPECT_GE(b.Left, 0);
        EXPECT_GE(b.Top, 0);
        EXPECT_LE(b.Left + b.Width, c->Parent()->Width());
        EXPECT_LE(b.Top + b.Height, c->Parent()->Height());
        for (const TControl* other : controls) {
            if (other != c && other->Visible() && other->Parent() == c->Parent()) {
                EXPECT_FALSE(overlap(b, other->Bounds())) << "covers " << other->Name();
            }
        }
    }
}

// The caption of each window and of each control whose caption is a text of the design (the
// edits' captions are their values), by window and name.
std::map<std::string, std::string> captions(const std::vector<const TForm*>& forms) {
    std::map<std::string, std::string> all;
    for (const TForm* form : forms) {
        all[form->Name()] = form->Caption();
        for (const TControl* c : form->Controls()) {
            const ControlKind kind = c->Kind();
            if (kind == ControlKind::Label || kind == ControlKind::CheckBox ||
                kind == ControlKind::Button || kind == ControlKind::GroupBox) {
                all[form->Name() + "." + c->Name()] = c->Caption();
            }
        }
    }
    return all;
}

}  // namespace

TEST_F(FormsTest, HelpWindowInEnglish) {
    build();
    EXPECT_EQ(form4->Caption(), " Help - Legend");
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
    EXPECT_TRUE(form4->Button3->Font().Bold);
    EXPECT_EQ(form4->Button3->Font().Color, clRed);

    // The samples, top to bottom in the legend's order, each the strip's own size.
    const struct {
        TImage* image;
        const char* text;
        Colour background;
        Colour textColour;
    } samples[] = {
        {form4->Image1, "21:13:57", clBlack, clYellow},
        {form4->Image2, "013:26:09", clGreen, clWhite},
        {form4->Image3, "013:25:53", clYellow, clBlack},
        {form4->Image4, "013:25:11", clRed, clWhite},
        {form4->Image5, "011:44:27", clWhite, clBlue},
    };
    int above = -1;
    for (const auto& s : samples) {
        EXPECT_GT(s.image->Top(), above) << s.text;
        above = s.image->Top();
        EXPECT_GE(s.image->Left(), form4->Memo1->Left() + form4->Memo1->Width()) << s.text;
        EXPECT_EQ(s.image->Width(), StripLook::kWidth) << s.text;
        EXPECT_EQ(s.image->Height(), StripLook::kHeight) << s.text;
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

// The windows hold together in both languages: every control inside its parent, none
// covering another.
TEST_F(FormsTest, EveryControlLiesInsideItsParentAndNoneCoversAnother) {
    for (const bool serbian : {false, true}) {
        SCOPED_TRACE(serbian ? "Serbian" : "English");
        if (serbian) {
            data.put("srpski.dat", "");
        }
        build();
        form2->Show();
        form4->Show();
        expectLaidOut(*form2);
        expectLaidOut(*form4);
        TearDown();
    }
}

// A Serbian window turns every text that has a Serbian form and leaves only those that stay
// English; no text is empty in either language.
TEST_F(FormsTest, SerbianTurnsEveryTranslatedTextAndLeavesTheEnglishOnes) {
    build();
    const auto english = captions({form2.get(), form4.get()});
    TearDown();
    data.put("srpski.dat", "");
    build();
    const auto serbian = captions({form2.get(), form4.get()});
    ASSERT_EQ(english.size(), serbian.size());

    const std::set<std::string> stayEnglish = {Texts::Status,    Texts::GroupBox2, Texts::Label1,
                                               Texts::GroupBox4, Texts::Label6,    Texts::Label7,
                                               Texts::Button1,   Texts::Button3};
    for (const auto& [name, text] : english) {
        SCOPED_TRACE(name);
        const std::string& other = serbian.at(name);
        EXPECT_FALSE(text.empty());
        if (stayEnglish.count(text) != 0) {
            EXPECT_EQ(other, text);
        } else {
            EXPECT_NE(other, text);
            EXPECT_FALSE(other.empty());
        }
    }
}
