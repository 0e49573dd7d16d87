// What users who cannot rely on the desktop's theme or on their eyes get from the windows: a
// fixed ground under every fixed text colour, a name for every field, the display's state in
// words.
#include <cmath>

#include "forms/DisplayState.h"
#include "forms/Texts.h"
#include "tests/forms/FormsFixture.h"

using namespace formstest;

namespace {

double luminance(Colour c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(RedOf(c)) + 0.7152 * channel(GreenOf(c)) + 0.0722 * channel(BlueOf(c));
}

double contrast(Colour a, Colour b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The control whose background is drawn under this one, or null when only the theme's is.
const TControl* ground(const TControl* control) {
    for (; control != nullptr; control = control->Parent()) {
        if (control->Opaque()) {
            return control;
        }
    }
    return nullptr;
}

}  // namespace

TEST_F(FormsTest, EveryDialogTextHasAFixedGroundItCanBeReadOn) {
    build();
    const std::vector<const TControl*> controls = {
        form2.get(),        form2->Freeze,   form2->Status,    form2->Hide,    form2->GroupBox1,
        form2->Label1,      form2->Edit,     form2->GroupBox2, form2->Label2,  form2->Alarm,
        form2->GroupBox3,   form2->Label3,   form2->Label4,    form2->Label5,  form2->EconomicBegin,
        form2->EconomicEnd, form2->Procenat, form2->GroupBox4, form2->Label6,  form2->Label7,
        form2->x,           form2->y,        form2->Button1,   form2->Button3, form2->Button5,
        form4.get(),        form4->Memo1,    form4->Memo2,     form4->Button3};
    for (const TControl* control : controls) {
        SCOPED_TRACE(control->Name());
        const TControl* under = ground(control);
        ASSERT_NE(under, nullptr) << "the text would stand on the theme's ground";
        // The help's bold red "Close" on the grey face is the design's own pair (2.2:1).
        const double least = control == form4->Button3 ? 2.0 : 4.5;
        EXPECT_GE(contrast(control->Font().Color, under->Color()), least);
    }
    // The design's grounds: the grey face, white fields and memos.
    EXPECT_EQ(form2->Color(), clSilver);
    EXPECT_EQ(ground(form2->Label3)->Color(), clSilver);
    EXPECT_EQ(form2->Edit->Color(), clWhite);
    EXPECT_EQ(form2->x->Color(), clWhite);
    EXPECT_EQ(form4->Memo1->Color(), clWhite);
    EXPECT_EQ(form4->Color(), clSilver);
}

TEST_F(FormsTest, EveryFieldIsNamedByItsOwnLabel) {
    build();
    EXPECT_EQ(form2->Edit->AccessibleName(), "HHH:MM:SS");
    EXPECT_EQ(form2->Edit->AccessibleDescription(), "Time on Your Account");
    EXPECT_EQ(form2->Alarm->AccessibleName(), "Minimal hours");
    EXPECT_EQ(form2->EconomicBegin->AccessibleName(), "Begin (HH:MM)");
    EXPECT_EQ(form2->EconomicEnd->AccessibleName(), "End (HH:MM)");
    EXPECT_EQ(form2->Procenat->AccessibleName(), "Discount (%)");
    EXPECT_EQ(form2->Procenat->AccessibleDescription(), "Economic Period");
    EXPECT_EQ(form2->x->AccessibleName(), "X");
    EXPECT_EQ(form2->y->AccessibleName(), "Y");
    EXPECT_EQ(form2->y->AccessibleDescription(), "Position");
    EXPECT_EQ(form2->Button3->AccessibleName(), "Help");
    EXPECT_EQ(form2->Button3->Caption(), "?");
    // Buttons and boxes are named by their own captions.
    EXPECT_EQ(form2->Button1->AccessibleName(), "");
    EXPECT_EQ(form2->y->LabelledBy(), form2->Label7);
}

TEST_F(FormsTest, FieldNamesFollowTheSerbianLabels) {
    data.put("srpski.dat", "");
    Serbian = true;
    build();
    EXPECT_EQ(form2->EconomicBegin->AccessibleName(), "Pocetak(HH:MM)");
    EXPECT_EQ(form2->Alarm->AccessibleName(), "Minimalno sati");
    EXPECT_EQ(form2->Procenat->AccessibleDescription(), "Jeftiniji period");
    EXPECT_EQ(form2->Button3->AccessibleName(), "Pomoc");
    // A renamed label tells its field's peer, which reads the new name.
    const int before = toolkit.counts["EconomicEnd"].changes[Property::Accessible];
    form2->Label4->setCaption("End");
    EXPECT_EQ(form2->EconomicEnd->AccessibleName(), "End");
    EXPECT_EQ(toolkit.counts["EconomicEnd"].changes[Property::Accessible], before + 1);
}

TEST_F(FormsTest, TheDisplaySaysWhatItShowsAndTheConnection) {
    data.put("remain.dat", "010:00:00\r\n");
    data.put("alarm.dat", "2\r\n");
    build();
    tick();
    EXPECT_EQ(form1->Display->AccessibleDescription(), "Clock, Off - Line");
    form1->Display->userMouseMove();
    EXPECT_EQ(form1->Display->AccessibleDescription(), "Balance, Off - Line");
    form1->Display->userMouseLeave();
    flags.setOnline(ConnectionFlags::kLan);
    tick();
    EXPECT_EQ(form1->Display->AccessibleDescription(), "Balance, LAN Internet");
    form2->Freeze->setChecked(true);
    tick();
    EXPECT_EQ(form1->Display->AccessibleDescription(), "Balance, frozen, LAN Internet");
    // The name stays the shown text.
    EXPECT_EQ(form1->Display->AccessibleName(), "");
}

TEST(DisplayState, ReadsEveryDesignStateFromItsColours) {
    EXPECT_EQ(DisplayStateText(clBlack, clYellow, "Off - Line", false), "Clock, Off - Line");
    EXPECT_EQ(DisplayStateText(clGreen, clWhite, "Off - Line", false), "Balance, Off - Line");
    EXPECT_EQ(DisplayStateText(clRed, clWhite, "Off - Line", false),
              "Balance under the minimum, Off - Line");
    EXPECT_EQ(DisplayStateText(clYellow, clBlack, "Modem", false), "Balance, Modem");
    EXPECT_EQ(DisplayStateText(clRed, clWhite, "Modem", true), "Stanje ispod minimuma, Modem");
    EXPECT_EQ(DisplayStateText(clWhite, clBlue, "Proxy", false), "Balance, frozen, Proxy");
    EXPECT_EQ(DisplayStateText(clBlack, clYellow, "", false), "Clock");
}
