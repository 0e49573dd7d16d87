#include "tests/forms/FormsFixture.h"

using namespace formstest;

TEST_F(FormsTest, BalanceWithTooManyMinutesAndSecondsIsCutToWholeHours) {
    build();
    // The working directory is not the data folder: the balance still lands in the folder.
    const auto before = std::filesystem::current_path();
    TempFolder elsewhere;
    std::filesystem::current_path(elsewhere.path());
    form1->Display->userClick();
    type(*form2->Edit, "0127580");
    std::filesystem::current_path(before);
    EXPECT_EQ(form2->Edit->Text(), "012:00:00");
    EXPECT_EQ(form1->Display->Caption(), "012:00:00");
    EXPECT_EQ(form1->state().BaseSeconds, 43200);
    EXPECT_EQ(data.get("remain.dat"), "012:00:00\r\n");
    EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / "remain.dat"));
    // The count starts afresh from the edited balance.
    flags.setOnline(ConnectionFlags::kLan);
    form2->userClose();
    tick();
    EXPECT_EQ(form1->Display->Caption(), "011:59:59");
}

TEST_F(FormsTest, EconomicTimesOutOfRangeBecomeZero) {
    build();
    form2->EconomicBegin->setText("25:61");
    EXPECT_EQ(form2->EconomicBegin->Text(), "00:00");
    EXPECT_EQ(form1->state().EconomicBeginText, "00:00");
    form2->EconomicEnd->setText("23:60");
    EXPECT_EQ(form2->EconomicEnd->Text(), "23:00");
    EXPECT_EQ(form1->state().EconomicEndText, "23:00");
    form2->EconomicEnd->setText("22:30");
    EXPECT_EQ(form1->state().EconomicEndText, "22:30");
}

TEST_F(FormsTest, PositionIsBoundedByTheScreenAndMovesTheStrip) {
    toolkit.screen = {1024, 768};
    build();
    ASSERT_TRUE(form2->x->userEdit("950"));
    EXPECT_EQ(form2->x->MaxValue(), 904);
    EXPECT_EQ(form2->x->Text(), "904");
    EXPECT_EQ(form1->Left(), 904);
    ASSERT_TRUE(form2->y->userEdit("800"));
    EXPECT_EQ(form2->y->Text(), "731");
    EXPECT_EQ(form1->Top(), 731);
    // A strip moved off those bounds is left where it is.
    form1->setLeft(-5);
    form2->x->setValue(100);
    EXPECT_EQ(form1->Left(), -5);
}

TEST_F(FormsTest, NumberFieldsReadAndClampAsTyped) {
    build();
    ASSERT_TRUE(form2->Alarm->userEdit("-"));
    EXPECT_EQ(form2->Alarm->Value(), 0);  // not a number reads as the minimum
    EXPECT_EQ(form1->state().AlarmHours, 0);
    EXPECT_FALSE(form2->Procenat->userEdit("1x5"));   // letters cannot be typed
    EXPECT_FALSE(form2->Procenat->userEdit("1500"));  // nor more than three characters
    ASSERT_TRUE(form2->Procenat->userEdit("150"));
    EXPECT_EQ(form2->Procenat->Text(), "150");  // typed, not yet clamped
    EXPECT_EQ(form1->state().DiscountPercent, 150);
    form2->Procenat->userFocusOut();  // leaving the field clamps it
    EXPECT_EQ(form2->Procenat->Text(), "100");
    EXPECT_EQ(form1->state().DiscountPercent, 100);
    form2->Alarm->setValue(-3);
    EXPECT_EQ(form2->Alarm->Text(), "0");
    form2->Alarm->userStep(2);
    EXPECT_EQ(form1->state().AlarmHours, 2);
}

TEST_F(FormsTest, SwitchesAreAppliedAndRewrittenAtStart) {
    data.put("status.dat", " On \r\n");
    data.put("freeze.dat", "on\r\n");  // neither On nor Off: left as it was
    build();
    EXPECT_TRUE(form2->Status->Checked());
    EXPECT_EQ(data.get("status.dat"), "On\r\n");
    EXPECT_FALSE(form2->Freeze->Checked());
    EXPECT_EQ(data.get("freeze.dat"), "on\r\n");
}

TEST_F(FormsTest, FreezeIsStoredAtOnceAndReadByTheTick) {
    data.put("remain.dat", "012:00:30\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick(5);
    form2->Freeze->userToggle();
    EXPECT_EQ(data.get("freeze.dat"), "On\r\n");
    tick();
    EXPECT_EQ(form1->Display->Color(), clWhite);
    EXPECT_EQ(form1->Display->Font().Color, clBlue);
}

TEST_F(FormsTest, HideActsAtOnceButIsStoredOnlyByOk) {
    build();
    form2->Hide->userToggle();
    EXPECT_FALSE(form1->Visible());
    EXPECT_EQ(data.get("hide.dat"), "Off\r\n");
    form2->Button1->userClick();
    EXPECT_EQ(data.get("hide.dat"), "On\r\n");
}

TEST_F(FormsTest, OkWritesEveryFileInItsFormatAndCloses) {
    build();
    form2->Show();
    form2->Edit->setText("123:45:06");
    form2->Alarm->setValue(5);
    form2->EconomicBegin->setText("22:00");
    form2->EconomicEnd->setText("06:30");
    form2->Procenat->setValue(50);
    form2->x->setValue(10);
    form2->y->setValue(20);
    form2->Button1->userClick();
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(data.get("remain.dat"), "123:45:06\r\n");
    EXPECT_EQ(data.get("alarm.dat"), "5\r\n");
    EXPECT_EQ(data.get("economic.dat"), "22:00\r\n06:30\r\n50\r\n");
    EXPECT_EQ(data.get("position.dat"), "10\r\n20\r\n");
    EXPECT_EQ(data.get("hide.dat"), "Off\r\n");
    EXPECT_EQ(form1->state().RemainText, "123:45:06");
}

TEST_F(FormsTest, OkStopsAtAFileThatCannotBeWritten) {
    build();
    form2->Show();
    form2->Edit->setText("001:02:03");
    form2->Alarm->setValue(9);
    form2->Procenat->setValue(30);
    // A folder in the file's place cannot be replaced by a file.
    std::filesystem::remove(data.path() / "alarm.dat");
    std::filesystem::create_directory(data.path() / "alarm.dat");
    form2->Button1->userClick();
    EXPECT_TRUE(form2->Visible());
    EXPECT_EQ(shownError().rfind("I/O error ", 0), 0u) << shownError();
    EXPECT_EQ(data.get("remain.dat"), "001:02:03\r\n");
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");
    EXPECT_EQ(data.get("position.dat"), "-1\r\n-1\r\n");
}

TEST_F(FormsTest, HalfFilledFieldIsRefusedAndNeverStored) {
    build();
    form2->Show();
    TMaskEdit& begin = *form2->EconomicBegin;
    begin.userFocusIn();
    begin.userCaret(0);
    begin.userKey(TKey::Delete);
    ASSERT_EQ(begin.Text(), "_0:00");
    EXPECT_EQ(shownError(), "'_0' is not a valid integer value");
    closeError();

    // Leaving the field is refused and the focus comes back to the unfilled position.
    const int beeps = toolkit.beeps;
    EXPECT_FALSE(begin.userFocusOut(FocusChange::WithinWindow));
    EXPECT_EQ(shownError(), "Invalid input value.  Use escape key to abandon changes");
    EXPECT_EQ(toolkit.beeps, beeps + 1);
    EXPECT_EQ(toolkit.counts["EconomicBegin"].focusTaken, 1);
    EXPECT_EQ(begin.CaretPos(), 0);
    closeError();

    // OK stores nothing while a field is half filled.
    form2->Button1->userClick();
    EXPECT_TRUE(form2->Visible());
    EXPECT_EQ(shownError(), "Invalid input value.  Use escape key to abandon changes");
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");
    closeError();

    // Escape abandons the change.
    begin.userKey(TKey::Escape);
    EXPECT_EQ(begin.Text(), "00:00");
    EXPECT_EQ(form1->state().EconomicBeginText, "00:00");
    EXPECT_TRUE(begin.userFocusOut(FocusChange::WithinWindow));
}

TEST_F(FormsTest, SerbianCaptionsAtSettingsCreation) {
    data.put("srpski.dat", "");
    build();
    EXPECT_EQ(form2->Caption(), " Podesavanje - Surftally  ");
    EXPECT_EQ(form2->Label3->Caption(), "Pocetak(HH:MM)");
    EXPECT_EQ(form2->Hide->Caption(), "Smanji u \"System Tray\"");
    EXPECT_EQ(form2->Button5->Caption(), "Zatvori Program");
    EXPECT_EQ(form2->Freeze->Caption(), "Zamrzni");
    EXPECT_EQ(form2->GroupBox1->Caption(), "  Vreme na racunu  ");
    EXPECT_EQ(form2->Label2->Caption(), "Minimalno sati");
    EXPECT_EQ(form2->GroupBox3->Caption(), "  Jeftiniji period  ");
    EXPECT_EQ(form2->Label4->Caption(), "Kraj (HH:MM)");
    EXPECT_EQ(form2->Label5->Caption(), "Popust (%)");
    // These stay English in both languages.
    EXPECT_EQ(form2->GroupBox2->Caption(), "  Alarm  ");
    EXPECT_EQ(form2->Label1->Caption(), "HHH:MM:SS");
    EXPECT_EQ(form2->GroupBox4->Caption(), "  Position  ");
    EXPECT_EQ(form2->Status->Caption(), "Status");
    EXPECT_EQ(form2->Button1->Caption(), "OK");
    EXPECT_EQ(form2->Button3->Caption(), "?");
    EXPECT_EQ(form1->Caption(), "Surftally");
}

TEST_F(FormsTest, SettingsLayoutAndCaptions) {
    toolkit.screen = {1024, 768};
    build();
    EXPECT_EQ(form2->Caption(), " Settings - Surftally");
    EXPECT_EQ(form2->Style(), FormStyle::Dialog);
    EXPECT_EQ(form2->Width(), 178);
    EXPECT_EQ(form2->Height(), 381);
    EXPECT_EQ(form2->Left(), (1024 - 178) / 2);
    EXPECT_EQ(form2->Top(), (768 - 381) / 2);
    EXPECT_EQ(form2->GroupBox3->Top(), 154);
    EXPECT_EQ(form2->Procenat->Parent(), form2->GroupBox3);
    EXPECT_EQ(form2->Procenat->Left(), 112);
    EXPECT_EQ(form2->Button5->Width(), 161);
    EXPECT_EQ(form2->GroupBox1->Caption(), "  Time on Your Account  ");
    EXPECT_EQ(form2->Edit->Text(), "000:00:00");
    EXPECT_TRUE(form2->Freeze->Font().Bold);
    EXPECT_EQ(form2->Freeze->Font().Color, clBlue);
    EXPECT_EQ(form2->GroupBox2->Color(), clSilver);
    EXPECT_TRUE(form2->Button1->Font().Bold);
    EXPECT_EQ(form2->Label7->Bounds().Left, 85);
    EXPECT_EQ(form2->Alarm->MaxValue(), 999);
}

TEST_F(FormsTest, QuestionMarkOpensTheHelpWindowAndCloseHidesIt) {
    build();
    form2->Show();
    form2->Button3->userClick();
    EXPECT_TRUE(form4->Visible());
    EXPECT_TRUE(form2->Visible());
    EXPECT_EQ(toolkit.counts["Form4"].topmost, 1);
    form4->Button3->userClick();
    EXPECT_FALSE(form4->Visible());
}
