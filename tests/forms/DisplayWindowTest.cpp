#include "tests/forms/FormsFixture.h"

using namespace formstest;

TEST_F(FormsTest, RedHoverHoldLastsUntilTheMouseLeaves) {
    data.put("remain.dat", "001:00:00\r\n");
    build();
    tick();
    form1->Display->userMouseMove();
    EXPECT_EQ(form1->Display->Caption(), "001:00:00");
    EXPECT_EQ(form1->Display->Color(), clRed);
    EXPECT_EQ(form1->Display->Font().Color, clWhite);
    tick(10);
    EXPECT_EQ(form1->Display->Caption(), "001:00:00");
    EXPECT_EQ(form1->Display->Color(), clRed);
    form1->Display->userMouseLeave();
    tick();
    EXPECT_EQ(form1->Display->Color(), clBlack);
    EXPECT_EQ(form1->Display->Caption().size(), 8u);  // the clock
}

TEST_F(FormsTest, GreenHoverHoldEndsAboutThreeTicksAfterTheLastMove) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    tick();
    form1->Display->userMouseMove();
    EXPECT_EQ(form1->Display->Color(), clGreen);
    tick(2);
    form1->Display->userMouseMove();  // a move starts the count again
    tick(2);
    EXPECT_EQ(form1->Display->Caption(), "010:00:00");
    EXPECT_EQ(form1->Display->Color(), clGreen);
    tick();  // the third tick without a move shows the clock again
    EXPECT_EQ(form1->Display->Color(), clBlack);
    EXPECT_FALSE(form1->state().HoverHold);
}

TEST_F(FormsTest, HoverOnLineChangesNothing) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick();
    form1->Display->userMouseMove();
    EXPECT_EQ(form1->Display->Color(), clYellow);
    EXPECT_FALSE(form1->state().HoverHold);
}

TEST_F(FormsTest, StatusClickOffLineOpensTheSettingsWithTheLastBalance) {
    data.put("remain.dat", "012:34:56\r\n");
    build();
    tick();
    ASSERT_NE(form1->Display->Caption(), "012:34:56");  // the clock
    form1->Status->userClick();
    EXPECT_TRUE(form2->Visible());
    EXPECT_EQ(form2->Edit->Text(), "012:34:56");
    EXPECT_EQ(form1->Display->Caption(), "012:34:56");
    EXPECT_EQ(data.get("remain.dat"), "012:34:56\r\n");
    EXPECT_EQ(toolkit.counts["Form2"].activated, 1);
    EXPECT_EQ(shownError(), "");
}

TEST_F(FormsTest, DisplayClickFillsTheSettingsFromTheSharedState) {
    data.put("remain.dat", "012:34:56\r\n");
    data.put("alarm.dat", "7\r\n");
    data.put("economic.dat", "22:00\r\n06:00\r\n50\r\n");
    build();
    tick();  // off-line: the display shows the clock, which is never taken for a balance
    form1->Display->userClick();
    ASSERT_TRUE(form2->Visible());
    EXPECT_EQ(form2->Edit->Text(), "012:34:56");
    EXPECT_EQ(form2->Alarm->Value(), 7);
    EXPECT_EQ(form2->EconomicBegin->Text(), "22:00");
    EXPECT_EQ(form2->EconomicEnd->Text(), "06:00");
    EXPECT_EQ(form2->Procenat->Value(), 50);
    EXPECT_EQ(shownError(), "");
}

// A balance typed in the settings is what every later look at the last balance shows, even
// when the dialog was closed by its title bar instead of OK.
TEST_F(FormsTest, TypedBalanceIsNeverUndoneByTheLastBalance) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    tick();
    form1->Display->userClick();
    type(*form2->Edit, "0200000");
    ASSERT_EQ(form2->Edit->Text(), "020:00:00");
    form2->userClose();
    ASSERT_FALSE(form2->Visible());
    EXPECT_EQ(data.get("remain.dat"), "020:00:00\r\n");

    shell.mouse(TrayEvent::MouseMove);
    EXPECT_EQ(shell.tip(), "Off - Line ... Available Time: 020:00:00 ");
    form1->Status->userClick();
    EXPECT_EQ(form2->Edit->Text(), "020:00:00");
    form2->userClose();
    shell.mouse(TrayEvent::LeftButtonDoubleClick);
    EXPECT_EQ(form2->Edit->Text(), "020:00:00");
    EXPECT_EQ(data.get("remain.dat"), "020:00:00\r\n");
    EXPECT_EQ(form1->state().BaseSeconds, 20 * 3600);
}

TEST_F(FormsTest, TrayClickTogglesTheStripAndTheHideBoxWithoutStoringIt) {
    build();
    const std::string stored = data.get("hide.dat");
    ASSERT_TRUE(form1->Visible());
    shell.mouse(TrayEvent::LeftButtonDown);
    shell.mouse(TrayEvent::LeftButtonUp);
    EXPECT_FALSE(form1->Visible());
    EXPECT_TRUE(form2->Hide->Checked());
    shell.mouse(TrayEvent::LeftButtonDown);
    shell.mouse(TrayEvent::LeftButtonUp);
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Hide->Checked());
    EXPECT_EQ(data.get("hide.dat"), stored);
}

TEST_F(FormsTest, WithoutANotificationAreaTheStripIsNeverHidden) {
    build(false);
    form2->Hide->setChecked(true);
    EXPECT_TRUE(form1->Visible());
    shell.mouse(TrayEvent::LeftButtonDown);
    shell.mouse(TrayEvent::LeftButtonUp);
    EXPECT_TRUE(form1->Visible());
    data.put("hide.dat", "On\r\n");
    form1->Timer2Timer();
    EXPECT_TRUE(form1->Visible());
}

TEST_F(FormsTest, HideSwitchTakesEffectWhenANotificationAreaComesAfterTheProgram) {
    data.put("hide.dat", "On\r\n");
    build(false);
    form1->Timer2Timer();
    ASSERT_TRUE(form1->Visible());
    ASSERT_TRUE(form2->Hide->Checked());
    tray = true;
    form1->NotificationAreaChanged(true);
    EXPECT_FALSE(form1->Visible());
    // Unchecked, a coming area leaves the strip where the user sees it.
    form1->NotificationAreaChanged(false);
    ASSERT_TRUE(form1->Visible());
    ASSERT_FALSE(form2->Hide->Checked());
    form1->NotificationAreaChanged(true);
    EXPECT_TRUE(form1->Visible());
}

TEST_F(FormsTest, StripHiddenInAVanishedNotificationAreaComesBack) {
    build();
    form2->Hide->setChecked(true);
    ASSERT_FALSE(form1->Visible());
    form1->NotificationAreaChanged(true);
    EXPECT_FALSE(form1->Visible());
    form1->NotificationAreaChanged(false);
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Hide->Checked());
}

TEST_F(FormsTest, OneShotHideAppliesTheStoredSwitchOnce) {
    build();
    ASSERT_EQ(toolkit.timers["Timer2"], 100);
    ASSERT_EQ(toolkit.timers["Timer1"], 1000);
    data.put("hide.dat", " On \r\n");
    form1->Timer2->userTimer();
    EXPECT_FALSE(form1->Visible());
    EXPECT_EQ(toolkit.timers["Timer2"], 0);
    // A failure is reported once, not every 100 ms.
    std::filesystem::remove(data.path() / "hide.dat");
    form1->Timer2->setEnabled(true);
    form1->Timer2->userTimer();
    form1->Timer2->userTimer();
    EXPECT_EQ(shownError(), "File not found");
    EXPECT_EQ(toolkit.boxesShown, 1);
    EXPECT_FALSE(form1->Timer2->Enabled());
}

TEST_F(FormsTest, TipIsRebuiltOnEveryMoveWithOneTrailingBlank) {
    data.put("remain.dat", "012:34:56\r\n");
    build();
    EXPECT_EQ(shell.tip(), " Available Time: hhh:mm:ss ");
    flags.setOnline(ConnectionFlags::kModem);
    tick();
    shell.mouse(TrayEvent::MouseMove);
    EXPECT_EQ(shell.tip(), "Modem ... Available Time: 012:34:55 ");
    EXPECT_EQ(form1->Status->Color(), clMaroon);
}

TEST_F(FormsTest, SerbianHintsAndTipTurnAtTheFirstMove) {
    data.put("srpski.dat", "");
    data.put("remain.dat", "012:34:56\r\n");
    build();
    ASSERT_TRUE(Serbian);
    EXPECT_EQ(form1->Display->Hint(), "Available Time on Your Internet Account - Calculated");
    EXPECT_EQ(form1->Status->Hint(), "Click HERE for settings!");
    form1->Display->userMouseMove();
    form1->Status->userMouseMove();
    EXPECT_EQ(form1->Display->Hint(), "Dostupno vreme na Vasem Internet racunu - proracunato");
    EXPECT_EQ(form1->Status->Hint(), "Klikni ovde za podesavanja!");
    shell.mouse(TrayEvent::MouseMove);
    EXPECT_EQ(shell.tip(), "Off - Line ... Dostupno vreme: 012:34:56 ");
}

TEST_F(FormsTest, StartUpReadsPositionAndShowsTheStatusStrip) {
    toolkit.screen = {1024, 768};
    build();
    EXPECT_EQ(form1->Left(), 0);
    EXPECT_EQ(form1->Top(), 768 - 67);
    EXPECT_EQ(form1->Width(), 120);
    EXPECT_EQ(form1->Height(), 37);  // status.dat says On
    EXPECT_TRUE(form1->Status->Visible());
    // The status strip is docked at the bottom, the whole width, below the display.
    const TRect& status = form1->Status->Bounds();
    const TRect& display = form1->Display->Bounds();
    EXPECT_EQ(status.Top + status.Height, form1->Height());
    EXPECT_EQ(status.Left, 0);
    EXPECT_EQ(status.Width, form1->Width());
    EXPECT_GE(status.Top, display.Top + display.Height);
    // The display fills the background picture inside an even frame.
    const TRect& back = form1->BackImage->Bounds();
    const int frame = display.Left - back.Left;
    EXPECT_GT(frame, 0);
    EXPECT_EQ(display.Top - back.Top, frame);
    EXPECT_EQ(back.Left + back.Width - (display.Left + display.Width), frame);
    EXPECT_EQ(back.Top + back.Height - (display.Top + display.Height), frame);
    form2->Status->setChecked(false);
    EXPECT_EQ(form1->Height(), 25);
    EXPECT_EQ(data.get("status.dat"), "Off\r\n");
    EXPECT_EQ(application.loaded.front(), "Off-Line.ico");
    // Shown once the windows exist, with the application's own window hidden.
    EXPECT_TRUE(form1->Visible());
    EXPECT_EQ(application.showCalls, std::vector<bool>{false});
}

// A missing picture is reported; the balance, minimum and period are read all the same, so
// that counting and saving work.
TEST_F(FormsTest, MissingOffLineIconIsReportedAndTheStoredStateStillRead) {
    std::filesystem::remove(data.path() / "Off-Line.ico");
    data.put("srpski.dat", "");
    data.put("remain.dat", "010:00:00\r\n");
    data.put("alarm.dat", "3\r\n");
    build();
    EXPECT_EQ(shownError().rfind("Cannot open file ", 0), 0u) << shownError();
    EXPECT_TRUE(Serbian);
    EXPECT_TRUE(form1->state().BalanceKnown);
    EXPECT_EQ(form1->state().AlarmHours, 3);
    flags.setOnline(ConnectionFlags::kLan);
    tick(60);
    EXPECT_EQ(form1->Display->Caption(), "009:59:00");
    EXPECT_EQ(data.get("remain.dat"), "009:59:00\r\n");
}

// The program ends when remain.dat goes; the message that says why stays until it is closed.
TEST_F(FormsTest, DeletedBalanceFileEndsTheProgramOnceItsMessageIsClosed) {
    build();
    app.Reporter().report("File not found");
    std::filesystem::remove(data.path() / "remain.dat");
    form1->Display->userClick();
    tick();
    EXPECT_FALSE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(form1->TrayIcon1, nullptr);
    EXPECT_EQ(shell.requests.back(), NotifyRequest::Delete);
    EXPECT_FALSE(form1->Timer1->Enabled());
    EXPECT_EQ(toolkit.quits, 0);
    EXPECT_EQ(shownError(), "File not found");
    closeError();
    EXPECT_EQ(toolkit.quits, 1);
}

TEST_F(FormsTest, CloseApplicationEndsAtOnceWithoutAMessage) {
    build();
    form1->Display->userClick();
    form2->Button5->userClick();
    EXPECT_FALSE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(toolkit.quits, 1);
}

TEST_F(FormsTest, RefusedNotificationIconStopsTheStripFromBeingBuilt) {
    shell.failAdd = true;
    try {
        build();
        FAIL() << "the strip was built without its notification icon";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Cannot create shell notification icon");
    }
}

TEST_F(FormsTest, TickFailureIsShownWithoutStoppingTheTickOrStackingBoxes) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    std::filesystem::remove(data.path() / "LAN.ico");
    flags.setOnline(ConnectionFlags::kLan);
    tick(3);  // each tick returns at once: the box is not modal
    EXPECT_EQ(shownError().rfind("Cannot open file ", 0), 0u) << shownError();
    EXPECT_EQ(toolkit.boxesShown, 1);
    EXPECT_EQ(app.Reporter().waiting(), 0u);
    data.put("LAN.ico", "icon");
    tick();
    EXPECT_EQ(form1->Display->Color(), clYellow);
    EXPECT_EQ(form1->Display->Caption(), "009:59:56");
}

TEST_F(FormsTest, TopmostWhileOnLineAndEveryTenSecondsOffLineUnlessTheSettingsAreOpen) {
    build();
    clock.setTimeOfDay(std::chrono::hours(12));
    int& topmost = toolkit.counts["Form1"].topmost;
    tick(20);
    EXPECT_EQ(topmost, 2);
    flags.setOnline(ConnectionFlags::kLan);
    tick(3);
    EXPECT_EQ(topmost, 5);
    form1->Display->userClick();
    tick(3);
    EXPECT_EQ(topmost, 5);
    EXPECT_EQ(toolkit.counts["Form2"].topmost, 1);
}
