// The rules of the controls themselves, whatever toolkit draws them.
#include "tests/forms/FormsFixture.h"

using namespace formstest;

TEST_F(ControlsTest, MaskedEditOverwritesSkipsSeparatorsAndRefusesWhatDoesNotFit) {
    TMaskEdit& edit = *panel.Edit;
    edit.userFocusIn();
    edit.userCaret(0);
    for (char c : std::string("1x23")) {
        edit.userChar(c);
    }
    EXPECT_EQ(edit.Text(), "12:30");
    EXPECT_EQ(edit.CaretPos(), 4);
    EXPECT_EQ(toolkit.beeps, 1);  // the letter
    edit.userChar('4');
    edit.userChar('5');  // past the end
    EXPECT_EQ(edit.Text(), "12:34");
    EXPECT_EQ(toolkit.beeps, 2);
    EXPECT_EQ(panel.changes, 4);

    edit.userKey(TKey::Backspace);
    edit.userKey(TKey::Backspace);
    edit.userKey(TKey::Backspace);  // over the colon
    EXPECT_EQ(edit.Text(), "1_:__");
    EXPECT_EQ(edit.CaretPos(), 1);
    EXPECT_FALSE(edit.Filled());
    EXPECT_EQ(edit.FirstUnfilled(), 1);

    // A program step fits any text to the mask and runs the handler like typing does.
    edit.setText("7");
    EXPECT_EQ(edit.Text(), "7_:__");
    edit.setText("7_:__");
    EXPECT_EQ(panel.changes, 8);
}

// The change state lasts from entering the field until leaving it: a message box or another
// window activated in between neither forgets the change nor the text to go back to.
TEST_F(ControlsTest, MaskedEditKeepsItsChangeAcrossWindowSwitches) {
    TMaskEdit& edit = *panel.Edit;
    edit.userFocusIn();
    edit.userCaret(0);
    edit.userKey(TKey::Delete);
    ASSERT_EQ(edit.Text(), "_0:00");

    EXPECT_TRUE(edit.userFocusOut(FocusChange::WindowSwitch));
    edit.userFocusIn();
    EXPECT_TRUE(edit.Modified());
    EXPECT_FALSE(edit.userFocusOut(FocusChange::WithinWindow));  // still refused
    EXPECT_EQ(toolkit.boxText, "Invalid input value.  Use escape key to abandon changes");
    toolkit.closeBox();
    edit.userFocusOut(FocusChange::WindowSwitch);  // the box took the focus and gave it back
    edit.userFocusIn();

    edit.userKey(TKey::Escape);
    EXPECT_EQ(edit.Text(), "00:00");
    EXPECT_TRUE(edit.userFocusOut(FocusChange::WithinWindow));

    // Escape after a refusal restores the text of the entry, blanks and all.
    edit.setText("0_:00");
    edit.userFocusIn();
    edit.userCaret(3);
    edit.userChar('5');
    ASSERT_EQ(edit.Text(), "0_:50");
    EXPECT_FALSE(edit.userFocusOut(FocusChange::WithinWindow));
    toolkit.closeBox();
    edit.userFocusIn();
    edit.userKey(TKey::Escape);
    EXPECT_EQ(edit.Text(), "0_:00");
    // Left unchanged since entry, a half-filled field may be left.
    EXPECT_TRUE(edit.userFocusOut(FocusChange::WithinWindow));
}

TEST_F(ControlsTest, CheckBoxRunsItsHandlerOnEveryChangeAndOnlyThen) {
    panel.Box->setChecked(false);
    EXPECT_EQ(panel.clicks, 0);
    panel.Box->setChecked(true);
    panel.Box->setChecked(true);
    EXPECT_EQ(panel.clicks, 1);
    panel.Box->userToggle();
    EXPECT_FALSE(panel.Box->Checked());
    EXPECT_EQ(panel.clicks, 2);
    EXPECT_EQ(toolkit.counts["Box"].changes[Property::Checked], 1 + 2);  // creation, two changes
}

TEST_F(ControlsTest, FailingHandlerIsReportedAndNeverLeavesTheControl) {
    panel.Box->OnClick = [] { throw std::runtime_error("I/O error 28"); };
    panel.Box->userToggle();
    EXPECT_TRUE(panel.Box->Checked());
    EXPECT_EQ(toolkit.boxText, "I/O error 28");
    EXPECT_EQ(toolkit.boxTitle, "Surftally");
}

TEST_F(ControlsTest, ErrorBoxesAreNeverStacked) {
    ErrorReporter& reporter = app.Reporter();
    reporter.report("File not found");
    reporter.report("File not found");
    reporter.report("I/O error 28");
    reporter.report("File not found");
    EXPECT_EQ(reporter.shownText(), "File not found");
    EXPECT_EQ(reporter.waiting(), 1u);
    EXPECT_EQ(toolkit.boxesShown, 1);
    toolkit.closeBox();
    EXPECT_EQ(toolkit.boxText, "I/O error 28");
    reporter.dismiss();
    EXPECT_FALSE(reporter.showing());
    EXPECT_EQ(reporter.shownCount(), 2);
    EXPECT_FALSE(toolkit.boxOpen);
}

TEST_F(ControlsTest, TerminateWaitsForEveryMessageToBeRead) {
    app.Reporter().report("File not found");
    app.Reporter().report("I/O error 5");
    app.Terminate();
    EXPECT_EQ(toolkit.quits, 0);
    toolkit.closeBox();
    EXPECT_EQ(toolkit.quits, 0);
    toolkit.closeBox();
    EXPECT_EQ(toolkit.quits, 1);
    app.Terminate();
    EXPECT_EQ(toolkit.quits, 1);
}
