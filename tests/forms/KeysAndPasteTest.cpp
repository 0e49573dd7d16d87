// Text that arrives in one piece, Enter and Escape, and the orderly end of the program.
#include "tests/forms/FormsFixture.h"

using namespace formstest;

TEST_F(PasteTest, PastedTextIsTypedAtTheCaretUnderTheMaskOrRefusedWhole) {
    TMaskEdit& edit = *panel.Edit;
    edit.userFocusIn(FocusEntry::Pointer);
    edit.userCaret(3);
    edit.userInsert("2");  // at the colon: goes to the next digit, never widens the field
    EXPECT_EQ(edit.Text(), "011:29:47");
    EXPECT_EQ(panel.changes, 1);

    edit.userCaret(0);
    edit.userInsert(" 012:30:00\r\n");  // separators where they stand, line end dropped
    EXPECT_EQ(edit.Text(), "012:30:00");
    EXPECT_EQ(edit.CaretPos(), 9);
    EXPECT_EQ(panel.changes, 2);  // one piece, one change
    EXPECT_EQ(toolkit.beeps, 0);

    for (const char* refused : {"0112:59:47", "12a", "1:2", "-5"}) {
        edit.userCaret(0);
        edit.userInsert(refused);
        EXPECT_EQ(edit.Text(), "012:30:00") << refused;
    }
    EXPECT_EQ(toolkit.beeps, 4);
    EXPECT_EQ(panel.changes, 2);

    // Typed, a separator where it stands only moves the caret.
    edit.userCaret(2);
    edit.userChar('5');
    edit.userChar(':');
    edit.userChar('4');
    EXPECT_EQ(edit.Text(), "015:40:00");
    EXPECT_EQ(toolkit.beeps, 4);
}

TEST_F(PasteTest, PastedNumberReplacesTheSelectionWithinTheFieldsRules) {
    TSpinEdit& spin = *panel.Spin;
    spin.userInsert("12");  // the caret after the text until told
    EXPECT_EQ(spin.Text(), "012");
    spin.userCaret(0, 1);
    spin.userInsert("9");
    EXPECT_EQ(spin.Text(), "912");
    EXPECT_EQ(toolkit.beeps, 0);
    spin.userCaret(1, 0);
    spin.userInsert("4");  // four characters do not fit
    spin.userCaret(0, 3);
    spin.userInsert("1e3");
    EXPECT_EQ(spin.Text(), "912");
    EXPECT_EQ(toolkit.beeps, 2);
}

TEST_F(PasteTest, KeyboardEntryPutsTheCaretFirstAndEscapeIsTakenOnlyWithAChange) {
    TMaskEdit& edit = *panel.Edit;
    edit.userFocusIn(FocusEntry::Keyboard);
    EXPECT_EQ(edit.CaretPos(), 0);
    EXPECT_FALSE(edit.userKey(TKey::Escape));
    EXPECT_FALSE(edit.userKey(TKey::Enter));
    EXPECT_TRUE(edit.userKey(TKey::End));
    edit.userKey(TKey::Backspace);
    EXPECT_TRUE(edit.userKey(TKey::Escape));
    EXPECT_EQ(edit.Text(), "011:59:47");
    EXPECT_FALSE(edit.userKey(TKey::Escape));
}

TEST_F(FormsTest, EscapeAbandonsTheFieldsChangeThenClosesTheSettings) {
    build();
    form1->Display->userClick();
    ASSERT_TRUE(form2->Visible());
    type(*form2->EconomicBegin, "1");
    ASSERT_EQ(form2->EconomicBegin->Text(), "10:00");
    form2->userKey(TKey::Escape, form2->EconomicBegin);
    EXPECT_EQ(form2->EconomicBegin->Text(), "00:00");
    EXPECT_TRUE(form2->Visible());
    form2->userKey(TKey::Escape, form2->EconomicBegin);
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");  // as the close button

    form1->Display->userClick();
    form2->userKey(TKey::Escape, nullptr);
    EXPECT_FALSE(form2->Visible());
}

TEST_F(FormsTest, EnterLeavesTheFieldThenPressesOkOrClicksTheFocusedButton) {
    build();
    form1->Display->userClick();
    ASSERT_TRUE(form2->Alarm->userEdit("5"));
    type(*form2->EconomicEnd, "0");
    form2->EconomicEnd->userKey(TKey::Delete);
    ASSERT_EQ(form2->EconomicEnd->Text(), "0_:00");
    form2->userKey(TKey::Enter, form2->EconomicEnd);  // the half-filled field is not left
    EXPECT_TRUE(form2->Visible());
    EXPECT_EQ(data.get("alarm.dat"), "2\r\n");
    closeError();  // the handler's conversion of "0_"
    EXPECT_EQ(shownError(), "Invalid input value.  Use escape key to abandon changes");
    closeError();
    form2->EconomicEnd->userChar('6');

    ASSERT_TRUE(form2->x->userEdit("2000"));
    form2->userKey(TKey::Enter, form2->x);  // leaving clamps, as a click on OK would
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(data.get("alarm.dat"), "5\r\n");
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n06:00\r\n0\r\n");
    EXPECT_EQ(data.get("position.dat"), "904\r\n701\r\n");

    form1->Display->userClick();
    form2->userKey(TKey::Enter, form2->Button5);
    EXPECT_EQ(toolkit.quits, 1);
}

TEST_F(FormsTest, OrderlyEndSavesTheCountedBalance) {
    data.put("remain.dat", "012:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick(75);
    ASSERT_EQ(data.get("remain.dat"), "011:59:00\r\n");
    clock.advance(std::chrono::milliseconds(1500));
    form1->Close();
    EXPECT_EQ(data.get("remain.dat"), "011:58:44\r\n");
    EXPECT_EQ(toolkit.quits, 1);
    EXPECT_FALSE(form1->Visible());
    data.put("remain.dat", "001:00:00\r\n");
    form1->Close();  // ending already: nothing more
    EXPECT_EQ(data.get("remain.dat"), "001:00:00\r\n");
}

TEST_F(FormsTest, FrozenOrOffLineEndSavesWhatTheTickWouldSave) {
    data.put("remain.dat", "012:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kModem);
    tick(30);
    form2->Freeze->setChecked(true);
    tick(2);
    form2->Button5->userClick();
    EXPECT_EQ(data.get("remain.dat"), "012:00:00\r\n");  // the freeze gave back the half minute
    EXPECT_EQ(toolkit.quits, 1);
}

TEST_F(FormsTest, EndBecauseTheBalanceFileIsGoneWritesNothing) {
    data.put("remain.dat", "012:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick(10);
    std::filesystem::remove(data.path() / "remain.dat");
    tick();
    EXPECT_EQ(toolkit.quits, 1);
    form1->Close();  // a signal that arrives as the program ends
    EXPECT_FALSE(std::filesystem::exists(data.path() / "remain.dat"));
}
