#include <QMouseEvent>

#include "UiFixture.h"

using namespace uitest;

namespace {

void mouseMove(QWidget* w) {
    const QPointF at(5, 5);
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void mouseLeave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

QString tip(const RecordingShell& shell) {
    return QString::fromLatin1(shell.last.szTip);
}

}  // namespace

TEST_F(UiTest, RedHoverHoldLastsUntilTheMouseLeaves) {
    data.put("remain.dat", "001:00:00\r\n");
    build();
    tick();
    mouseMove(form1->Display);
    EXPECT_EQ(form1->Display->text(), "001:00:00");
    EXPECT_EQ(form1->displayBackground(), clRed);
    EXPECT_EQ(form1->displayTextColour(), clWhite);
    tick(10);
    EXPECT_EQ(form1->Display->text(), "001:00:00");
    EXPECT_EQ(form1->displayBackground(), clRed);
    mouseLeave(form1->Display);
    tick();
    EXPECT_EQ(form1->displayBackground(), clBlack);
    EXPECT_EQ(form1->Display->text().size(), 8);  // the clock
}

TEST_F(UiTest, GreenHoverHoldEndsAboutThreeTicksAfterTheLastMove) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    tick();
    mouseMove(form1->Display);
    EXPECT_EQ(form1->displayBackground(), clGreen);
    tick(2);
    mouseMove(form1->Display);  // a move starts the count again
    tick(2);
    EXPECT_EQ(form1->Display->text(), "010:00:00");
    EXPECT_EQ(form1->displayBackground(), clGreen);
    tick();  // the third tick without a move shows the clock again
    EXPECT_EQ(form1->displayBackground(), clBlack);
    EXPECT_FALSE(form1->state().HoverHold);
}

TEST_F(UiTest, HoverOnLineChangesNothing) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick();
    mouseMove(form1->Display);
    EXPECT_EQ(form1->displayBackground(), clYellow);
    EXPECT_FALSE(form1->state().HoverHold);
}

TEST_F(UiTest, StatusClickOffLineOpensTheSettingsWithTheLastBalance) {
    data.put("remain.dat", "012:34:56\r\n");
    build();
    tick();
    ASSERT_NE(form1->Display->text(), "012:34:56");  // the clock
    QTest::mouseClick(form1->Status, Qt::LeftButton);
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->Edit->text(), "012:34:56");
    EXPECT_EQ(form1->Display->text(), "012:34:56");
    EXPECT_EQ(data.get("remain.dat"), "012:34:56\r\n");
    EXPECT_FALSE(ErrorReporter::instance().showing());
}

TEST_F(UiTest, DisplayClickFillsTheSettingsFromTheSharedState) {
    data.put("remain.dat", "012:34:56\r\n");
    data.put("alarm.dat", "7\r\n");
    data.put("economic.dat", "22:00\r\n06:00\r\n50\r\n");
    build();
    tick();  // off-line: the display shows the clock, which is never taken for a balance
    QTest::mouseClick(form1->Display, Qt::LeftButton);
    ASSERT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->Edit->text(), "012:34:56");
    EXPECT_EQ(form2->Alarm->Value(), 7);
    EXPECT_EQ(form2->EconomicBegin->text(), "22:00");
    EXPECT_EQ(form2->EconomicEnd->text(), "06:00");
    EXPECT_EQ(form2->Procenat->Value(), 50);
    EXPECT_FALSE(ErrorReporter::instance().showing()) << shownError().toStdString();
}

TEST_F(UiTest, TrayClickTogglesTheStripAndTheHideBoxWithoutStoringIt) {
    build();
    const std::string stored = data.get("hide.dat");
    ASSERT_TRUE(form1->isVisible());
    shell.mouse(WM_LBUTTONDOWN);
    shell.mouse(WM_LBUTTONUP);
    EXPECT_FALSE(form1->isVisible());
    EXPECT_TRUE(form2->Hide->isChecked());
    shell.mouse(WM_LBUTTONDOWN);
    shell.mouse(WM_LBUTTONUP);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_FALSE(form2->Hide->isChecked());
    EXPECT_EQ(data.get("hide.dat"), stored);
}

TEST_F(UiTest, TrayDoubleClickOpensTheSettingsWithTheLastBalance) {
    data.put("remain.dat", "012:34:56\r\n");
    build();
    tick();
    shell.mouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->Edit->text(), "012:34:56");
    EXPECT_FALSE(ErrorReporter::instance().showing());
}

TEST_F(UiTest, WithoutANotificationAreaTheStripIsNeverHidden) {
    build(false);
    form2->Hide->setChecked(true);
    EXPECT_TRUE(form1->isVisible());
    shell.mouse(WM_LBUTTONDOWN);
    shell.mouse(WM_LBUTTONUP);
    EXPECT_TRUE(form1->isVisible());
    data.put("hide.dat", "On\r\n");
    form1->Timer2Timer();
    EXPECT_TRUE(form1->isVisible());
}

TEST_F(UiTest, NotificationAreaGoneWhileTheStripIsHiddenShowsItAndUnchecksHide) {
    build();
    form1->NotificationAreaChanged(false);  // shown: nothing to do
    EXPECT_TRUE(form1->isVisible());
    shell.mouse(WM_LBUTTONDOWN);
    shell.mouse(WM_LBUTTONUP);
    ASSERT_FALSE(form1->isVisible());
    ASSERT_TRUE(form2->Hide->isChecked());
    form1->NotificationAreaChanged(true);  // another area: the strip stays hidden
    EXPECT_FALSE(form1->isVisible());
    tray = false;
    form1->NotificationAreaChanged(false);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_FALSE(form2->Hide->isChecked());
}

TEST_F(UiTest, OneShotHideAppliesTheStoredSwitchOnce) {
    build();
    data.put("hide.dat", " On \r\n");
    form1->Timer2->start();
    QTest::qWait(250);
    EXPECT_FALSE(form1->isVisible());
    EXPECT_FALSE(form1->Timer2->isActive());
    // A failure is reported once, not every 100 ms.
    std::filesystem::remove(data.path() / "hide.dat");
    form1->Timer2->start();
    QTest::qWait(250);
    EXPECT_EQ(shownError(), "File not found");
    EXPECT_EQ(ErrorReporter::instance().shownCount(), 1);
    EXPECT_FALSE(form1->Timer2->isActive());
}

TEST_F(UiTest, TipIsRebuiltOnEveryMoveWithOneTrailingBlank) {
    data.put("remain.dat", "012:34:56\r\n");
    build();
    EXPECT_EQ(tip(shell), " Available Time: hhh:mm:ss ");
    flags.setOnline(ConnectionFlags::kModem);
    tick();
    shell.mouse(WM_MOUSEMOVE);
    EXPECT_EQ(tip(shell), "Modem ... Available Time: 012:34:55 ");
    EXPECT_EQ(form1->statusBackground(), clMaroon);
}

TEST_F(UiTest, SerbianHintsAndTipTurnAtTheFirstMove) {
    data.put("srpski.dat", "");
    data.put("remain.dat", "012:34:56\r\n");
    build();
    ASSERT_TRUE(Serbian);
    EXPECT_EQ(form1->Display->toolTip(), "Available Time on Your Internet Account - Calculated");
    EXPECT_EQ(form1->Status->toolTip(), "Click HERE for settings!");
    mouseMove(form1->Display);
    mouseMove(form1->Status);
    EXPECT_EQ(form1->Display->toolTip(), "Dostupno vreme na Vasem Internet racunu - proracunato");
    EXPECT_EQ(form1->Status->toolTip(), "Klikni ovde za podesavanja!");
    shell.mouse(WM_MOUSEMOVE);
    EXPECT_EQ(tip(shell), "Off - Line ... Dostupno vreme: 012:34:56 ");
}

TEST_F(UiTest, StartUpReadsPositionAndShowsTheStatusStrip) {
    build();
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(form1->pos(), QPoint(0, screenHeight - 67));
    EXPECT_EQ(form1->size(), QSize(120, 37));  // status.dat says On
    EXPECT_TRUE(form1->Status->isVisible());
    EXPECT_EQ(form1->Status->geometry(), QRect(0, 24, 120, 13));
    EXPECT_EQ(form1->Display->geometry(), QRect(2, 2, 116, 21));
    form2->Status->setChecked(false);
    EXPECT_EQ(form1->size(), QSize(120, 25));
    EXPECT_EQ(data.get("status.dat"), "Off\r\n");
    EXPECT_EQ(application.loaded.front(), "Off-Line.ico");
}

TEST_F(UiTest, MissingOffLineIconEndsTheCreationStepBeforeTheStoredState) {
    std::filesystem::remove(data.path() / "Off-Line.ico");
    data.put("srpski.dat", "");
    build();
    EXPECT_TRUE(shownError().startsWith("Cannot open file ")) << shownError().toStdString();
    EXPECT_FALSE(Serbian);
    EXPECT_FALSE(form1->state().BalanceKnown);
}

TEST_F(UiTest, DeletedBalanceFileClosesTheWindow) {
    build();
    bool closed = false;
    QObject::connect(form1.get(), &TForm1::closed, [&] { closed = true; });
    std::filesystem::remove(data.path() / "remain.dat");
    tick();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form1->isVisible());
}

TEST_F(UiTest, RefusedNotificationIconStopsTheStripFromBeingBuilt) {
    shell.refuseAdd = true;
    try {
        build();
        FAIL() << "the strip was built without its notification icon";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Cannot create shell notification icon");
    }
}

TEST_F(UiTest, TickFailureIsShownWithoutStoppingTheTickOrStackingBoxes) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    std::filesystem::remove(data.path() / "LAN.ico");
    flags.setOnline(ConnectionFlags::kLan);
    tick(3);  // each tick returns at once: the box is not modal
    EXPECT_TRUE(shownError().startsWith("Cannot open file ")) << shownError().toStdString();
    EXPECT_EQ(ErrorReporter::instance().shownCount(), 1);
    EXPECT_EQ(ErrorReporter::instance().waiting(), 0u);
    data.put("LAN.ico", "icon");
    tick();
    EXPECT_EQ(form1->displayBackground(), clYellow);
    EXPECT_EQ(form1->Display->text(), "009:59:56");
}
