// What the user typed in the settings is what is kept: Escape, OK and the stored position.
#include "tests/forms/FormsFixture.h"

using namespace formstest;

// Escape abandons only what the user changed since entering the field this time; the text
// the dialog was filled with as it opened is where the next change starts.
TEST_F(FormsTest, EscapeNeverBringsBackABalanceFromAnEarlierOpening) {
    data.put("remain.dat", "011:59:47\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    form1->Display->userClick();
    type(*form2->Edit, "015");
    ASSERT_EQ(form2->Edit->Text(), "015:59:47");
    form2->Edit->userFocusOut(FocusChange::WindowSwitch);  // the dialog is closed
    form2->userClose();
    tick(60);
    ASSERT_EQ(form1->Display->Caption(), "015:58:47");

    form1->Display->userClick();
    form2->Edit->userFocusIn(FocusEntry::Pointer);
    form2->Edit->userCaret(4);
    form2->userKey(TKey::Escape, form2->Edit);  // nothing to abandon: the dialog closes
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(form2->Edit->Text(), "015:58:47");
    EXPECT_EQ(data.get("remain.dat"), "015:58:47\r\n");
    tick();
    EXPECT_EQ(form1->Display->Caption(), "015:58:46");
}

// The same while the field keeps the focus from one opening to the next (no focus change is
// reported when a hidden window is shown again).
TEST_F(FormsTest, EscapeAfterReopeningGoesBackOnlyToWhatThisOpeningShowed) {
    data.put("remain.dat", "011:59:47\r\n");
    build();
    tick();
    form1->Display->userClick();
    type(*form2->Edit, "015");
    form2->userClose();
    data.put("remain.dat", "011:00:00\r\n");
    form1->state().RemainText = "011:00:00";
    form1->Status->userClick();
    ASSERT_EQ(form2->Edit->Text(), "011:00:00");
    form2->Edit->userCaret(8);
    form2->Edit->userKey(TKey::Backspace);
    form2->Edit->userChar('9');
    EXPECT_TRUE(form2->Edit->userKey(TKey::Escape));
    EXPECT_EQ(form2->Edit->Text(), "011:00:00");
    EXPECT_EQ(data.get("remain.dat"), "011:00:00\r\n");
}

// On-line with the dialog open for 75 s and the balance untouched, OK writes what has been
// counted meanwhile, not what the dialog opened with.
TEST_F(FormsTest, OkWritesTheBalanceCountedNowUnlessTheUserChangedIt) {
    data.put("remain.dat", "012:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kModem);
    tick(5);
    form1->Display->userClick();
    ASSERT_EQ(form2->Edit->Text(), "011:59:55");
    tick(75);
    clock.advance(std::chrono::milliseconds(400));
    form2->Button1->userClick();
    EXPECT_EQ(data.get("remain.dat"), "011:58:40\r\n");
    EXPECT_EQ(form1->state().RemainText, "011:58:40");
    tick();
    EXPECT_EQ(form1->Display->Caption(), "011:58:39");

    // Changed by the user in this opening: what was typed is written.
    form1->Display->userClick();
    type(*form2->Edit, "020");
    tick(30);
    form2->Button1->userClick();
    EXPECT_EQ(data.get("remain.dat"), "020:58:39\r\n");

    // A change in an earlier opening does not count for this one.
    form1->Display->userClick();
    tick(2);
    form2->Button1->userClick();
    EXPECT_EQ(data.get("remain.dat"), "020:58:07\r\n");
}

// The spin edits' maxima follow the screen before the stored place is assigned, so a place
// beyond 999 pixels survives a start and an OK.
TEST_F(FormsTest, StoredPlaceBeyond999PixelsIsKept) {
    toolkit.screen = {2048, 1536};
    data.put("position.dat", "1500\r\n1200\r\n");
    build();
    EXPECT_EQ(form1->Left(), 1500);
    EXPECT_EQ(form1->Top(), 1200);
    EXPECT_EQ(form2->x->Value(), 1500);
    EXPECT_EQ(form2->y->Value(), 1200);
    EXPECT_EQ(form2->x->MaxValue(), 2048 - 120);
    EXPECT_EQ(form2->y->MaxValue(), 1536 - 37);
    form1->Display->userClick();
    form2->Button1->userClick();
    EXPECT_EQ(data.get("position.dat"), "1500\r\n1200\r\n");
}

TEST_F(FormsTest, DefaultPlaceOnABigScreenIsTheBottomLeftCorner) {
    toolkit.screen = {2048, 1536};
    build();
    EXPECT_EQ(form1->Left(), 0);
    EXPECT_EQ(form1->Top(), 1536 - 67);
    EXPECT_EQ(form2->y->Value(), 1469);
}

// A place stored on a bigger screen brings the strip to the nearest place where it is whole;
// the stored text stays until OK.
TEST_F(FormsTest, StripThatWouldOpenOffTheScreenIsBroughtBackWhole) {
    struct Case {
        const char* stored;
        int left;
        int top;
    };
    for (const Case& c : {Case{"1500\r\n1200\r\n", 904, 731}, Case{"-300\r\n-20\r\n", 0, 0},
                          Case{"950\r\n100\r\n", 904, 100}, Case{"500\r\n760\r\n", 500, 731}}) {
        SCOPED_TRACE(c.stored);
        toolkit.screen = {1024, 768};
        data.put("position.dat", c.stored);
        build();
        EXPECT_EQ(form1->Left(), c.left);
        EXPECT_EQ(form1->Top(), c.top);
        EXPECT_EQ(form2->x->Value(), c.left);
        EXPECT_EQ(form2->y->Value(), c.top);
        EXPECT_EQ(data.get("position.dat"), c.stored);
        // The spin edits move it from there.
        form2->x->userStep(-1);
        EXPECT_EQ(form1->Left(), std::max(c.left - 1, 0));
        TearDown();
    }
}
