#include <unistd.h>

#include "TForm4.h"
#include "UiFixture.h"

using namespace uitest;

namespace {

// Types into a field as the user does: focus, caret at the start, keys.
void typeInto(QWidget* field, QLineEdit* line, const QString& keys) {
    field->window()->show();
    QApplication::setActiveWindow(field->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(field->window()));
    field->setFocus(Qt::MouseFocusReason);
    line->selectAll();
    QTest::keyClicks(field, keys);
}

}  // namespace

TEST_F(UiTest, BalanceWithTooManyMinutesAndSecondsIsCutToWholeHours) {
    build();
    // The working directory is not the data folder: the balance still lands in the folder.
    const auto before = std::filesystem::current_path();
    TempFolder elsewhere;
    std::filesystem::current_path(elsewhere.path());
    form2->show();
    form2->Edit->setFocus();
    form2->Edit->setCursorPosition(0);
    QTest::keyClicks(form2->Edit, "012:75:80");
    std::filesystem::current_path(before);
    EXPECT_EQ(form2->Edit->text(), "012:00:00");
    EXPECT_EQ(form1->Display->text(), "012:00:00");
    EXPECT_EQ(form1->state().BaseSeconds, 43200);
    EXPECT_EQ(data.get("remain.dat"), "012:00:00\r\n");
    EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / "remain.dat"));
    // The count starts afresh from the edited balance.
    flags.setOnline(ConnectionFlags::kLan);
    form2->hide();
    tick();
    EXPECT_EQ(form1->Display->text(), "011:59:59");
}

TEST_F(UiTest, EconomicTimesOutOfRangeBecomeZero) {
    build();
    form2->EconomicBegin->setText("25:61");
    EXPECT_EQ(form2->EconomicBegin->text(), "00:00");
    EXPECT_EQ(form1->state().EconomicBeginText, "00:00");
    form2->EconomicEnd->setText("23:60");
    EXPECT_EQ(form2->EconomicEnd->text(), "23:00");
    EXPECT_EQ(form1->state().EconomicEndText, "23:00");
    form2->EconomicEnd->setText("22:30");
    EXPECT_EQ(form1->state().EconomicEndText, "22:30");
}

TEST_F(UiTest, PositionIsBoundedByTheScreenAndMovesTheStrip) {
    build();
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().width(), 1024);
    typeInto(form2->x, form2->x->editor(), "950");
    EXPECT_EQ(form2->x->MaxValue(), 904);
    EXPECT_EQ(form2->x->text(), "904");
    EXPECT_EQ(form1->x(), 904);
    typeInto(form2->y, form2->y->editor(), "800");
    EXPECT_EQ(form2->y->text(), "731");
    EXPECT_EQ(form1->y(), 731);
    // A strip moved off those bounds is left where it is.
    form1->move(-5, 10);
    form2->x->setValue(100);
    EXPECT_EQ(form1->x(), -5);
}

TEST_F(UiTest, NumberFieldsReadAndClampAsTyped) {
    build();
    typeInto(form2->Alarm, form2->Alarm->editor(), "-");
    EXPECT_EQ(form2->Alarm->Value(), 0);  // not a number reads as the minimum
    EXPECT_EQ(form1->state().AlarmHours, 0);
    typeInto(form2->Procenat, form2->Procenat->editor(), "1x5");
    EXPECT_EQ(form2->Procenat->text(), "15");  // letters cannot be typed
    EXPECT_EQ(form1->state().DiscountPercent, 15);
    typeInto(form2->Procenat, form2->Procenat->editor(), "150");
    EXPECT_EQ(form2->Procenat->text(), "150");  // typed, not yet clamped
    EXPECT_EQ(form1->state().DiscountPercent, 150);
    form2->Alarm->setFocus(Qt::TabFocusReason);  // leaving the field clamps it
    EXPECT_EQ(form2->Procenat->text(), "100");
    EXPECT_EQ(form1->state().DiscountPercent, 100);
    form2->Alarm->setValue(-3);
    EXPECT_EQ(form2->Alarm->text(), "0");
}

TEST_F(UiTest, SwitchesAreAppliedAndRewrittenAtStart) {
    data.put("status.dat", " On \r\n");
    data.put("freeze.dat", "on\r\n");  // neither On nor Off: left as it was
    build();
    EXPECT_TRUE(form2->Status->isChecked());
    EXPECT_EQ(data.get("status.dat"), "On\r\n");
    EXPECT_FALSE(form2->Freeze->isChecked());
    EXPECT_EQ(data.get("freeze.dat"), "on\r\n");
}

TEST_F(UiTest, FreezeIsStoredAtOnceAndReadByTheTick) {
    data.put("remain.dat", "012:00:30\r\n");
    build();
    flags.setOnline(ConnectionFlags::kLan);
    tick(5);
    form2->Freeze->setChecked(true);
    EXPECT_EQ(data.get("freeze.dat"), "On\r\n");
    tick();
    EXPECT_EQ(form1->displayBackground(), clWhite);
    EXPECT_EQ(form1->displayTextColour(), clBlue);
}

TEST_F(UiTest, HideActsAtOnceButIsStoredOnlyByOk) {
    build();
    form2->Hide->setChecked(true);
    EXPECT_FALSE(form1->isVisible());
    EXPECT_EQ(data.get("hide.dat"), "Off\r\n");
    form2->Button1->click();
    EXPECT_EQ(data.get("hide.dat"), "On\r\n");
}

TEST_F(UiTest, OkWritesEveryFileInItsFormatAndCloses) {
    build();
    form2->show();
    form2->Edit->setText("123:45:06");
    form2->Alarm->setValue(5);
    form2->EconomicBegin->setText("22:00");
    form2->EconomicEnd->setText("06:30");
    form2->Procenat->setValue(50);
    form2->x->setValue(10);
    form2->y->setValue(20);
    form2->Button1->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(data.get("remain.dat"), "123:45:06\r\n");
    EXPECT_EQ(data.get("alarm.dat"), "5\r\n");
    EXPECT_EQ(data.get("economic.dat"), "22:00\r\n06:30\r\n50\r\n");
    EXPECT_EQ(data.get("position.dat"), "10\r\n20\r\n");
    EXPECT_EQ(data.get("hide.dat"), "Off\r\n");
    EXPECT_EQ(form1->state().RemainText, "123:45:06");
}

TEST_F(UiTest, OkStopsAtAFileThatCannotBeWritten) {
    build();
    form2->show();
    form2->Edit->setText("001:02:03");
    form2->Alarm->setValue(9);
    form2->Procenat->setValue(30);
    // A folder in the file's place cannot be replaced by a file.
    std::filesystem::remove(data.path() / "alarm.dat");
    std::filesystem::create_directory(data.path() / "alarm.dat");
    form2->Button1->click();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_TRUE(shownError().startsWith("I/O error ")) << shownError().toStdString();
    EXPECT_EQ(data.get("remain.dat"), "001:02:03\r\n");
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");
    EXPECT_EQ(data.get("position.dat"), "-1\r\n-1\r\n");
}

TEST_F(UiTest, HalfFilledFieldIsRefusedAndNeverStored) {
    build();
    form2->show();
    QApplication::setActiveWindow(form2.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    form2->EconomicBegin->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(form2->EconomicBegin->hasFocus());
    form2->EconomicBegin->setCursorPosition(0);
    QTest::keyClick(form2->EconomicBegin, Qt::Key_Delete);
    ASSERT_EQ(form2->EconomicBegin->displayText(), "_0:00");
    EXPECT_EQ(shownError(), "'_0' is not a valid integer value");
    ErrorReporter::instance().clear();

    // Leaving the field is refused and the focus comes back to the unfilled position.
    form2->Procenat->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(shownError(), "Invalid input value.  Use escape key to abandon changes");
    QTest::qWait(20);
    EXPECT_EQ(form2->focusWidget(), form2->EconomicBegin);
    EXPECT_EQ(form2->EconomicBegin->cursorPosition(), 0);

    // OK stores nothing while a field is half filled.
    ErrorReporter::instance().clear();
    form2->Button1->click();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(shownError(), "Invalid input value.  Use escape key to abandon changes");
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");

    // Escape abandons the change.
    QTest::keyClick(form2->EconomicBegin, Qt::Key_Escape);
    EXPECT_EQ(form2->EconomicBegin->text(), "00:00");
    EXPECT_EQ(form1->state().EconomicBeginText, "00:00");
    EXPECT_TRUE(form2->isVisible());
}

TEST_F(UiTest, SerbianCaptionsAtSettingsCreation) {
    data.put("srpski.dat", "");
    build();
    EXPECT_EQ(form2->windowTitle(), " Podesavanje - Surftally  ");
    EXPECT_EQ(form2->Label3->text(), "Pocetak(HH:MM)");
    EXPECT_EQ(form2->Hide->text(), "Smanji u \"System Tray\"");
    EXPECT_EQ(form2->Button5->text(), "Zatvori Program");
    EXPECT_EQ(form2->Freeze->text(), "Zamrzni");
    EXPECT_EQ(form2->GroupBox1->title(), "  Vreme na racunu  ");
    EXPECT_EQ(form2->findChild<QLabel*>("Label2")->text(), "Minimalno sati");
    EXPECT_EQ(form2->GroupBox3->title(), "  Jeftiniji period  ");
    EXPECT_EQ(form2->findChild<QLabel*>("Label4")->text(), "Kraj (HH:MM)");
    EXPECT_EQ(form2->findChild<QLabel*>("Label5")->text(), "Popust (%)");
    // These stay English in both languages.
    EXPECT_EQ(form2->GroupBox2->title(), "  Alarm  ");
    EXPECT_EQ(form2->findChild<QLabel*>("Label1")->text(), "HHH:MM:SS");
    EXPECT_EQ(form2->findChild<QGroupBox*>("GroupBox4")->title(), "  Position  ");
    EXPECT_EQ(form2->Status->text(), "Status");
    EXPECT_EQ(form2->Button1->text(), "OK");
    EXPECT_EQ(form2->findChild<QPushButton*>("Button3")->text(), "?");
}

TEST_F(UiTest, SettingsLayoutAndCaptions) {
    build();
    EXPECT_EQ(form2->windowTitle(), " Settings - Surftally");
    EXPECT_EQ(form2->size(), QSize(178, 381));
    EXPECT_EQ(form2->GroupBox3->geometry(), QRect(8, 154, 161, 95));
    EXPECT_EQ(form2->Procenat->geometry(), QRect(112, 64, 41, 22));
    EXPECT_EQ(form2->Button5->geometry(), QRect(8, 357, 161, 20));
    EXPECT_EQ(form2->GroupBox1->title(), "  Time on Your Account  ");
    EXPECT_EQ(form2->Edit->text(), "000:00:00");
    EXPECT_TRUE(form2->Freeze->font().bold());
    EXPECT_TRUE(form2->Button1->font().bold());
    EXPECT_EQ(form2->findChild<QWidget*>("Label7")->geometry(), QRect(85, 25, 9, 13));
}

TEST_F(UiTest, CloseApplicationClosesTheStrip) {
    build();
    bool closed = false;
    QObject::connect(form1.get(), &TForm1::closed, [&] { closed = true; });
    form2->show();
    form2->Button5->click();
    EXPECT_TRUE(closed);
}

TEST_F(UiTest, ErrorBoxesAreNeverStacked) {
    ErrorReporter& reporter = ErrorReporter::instance();
    reporter.report("File not found");
    reporter.report("File not found");
    reporter.report("I/O error 28");
    reporter.report("File not found");
    EXPECT_EQ(reporter.shownText(), "File not found");
    EXPECT_EQ(reporter.waiting(), 1u);
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        boxes += w->objectName() == "ErrorBox" && w->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(reporter.findChildren<QWidget*>().isEmpty());
    reporter.dismiss();
    EXPECT_EQ(reporter.shownText(), "I/O error 28");
    reporter.dismiss();
    EXPECT_FALSE(reporter.showing());
    EXPECT_EQ(reporter.shownCount(), 2);
}

TEST_F(UiTest, QuestionMarkOpensTheHelpWindow) {
    build();
    TForm4 help;
    form2->setHelpWindow(&help);
    form2->show();
    form2->Button3->click();
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(form2->isVisible());
}
