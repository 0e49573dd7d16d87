// What is Qt's in the windows: that the Qt controls draw what the forms set and hand the
// user's input to them. The forms' own logic is tested over the fake toolkit.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include "forms/HelpTexts.h"
#include "tests/support/ProgramTest.h"
#include "ui/qt/Control.h"
#include "ui/qt/Toolkit.h"

using namespace surftally;

namespace {

class QtWindows : public ProgramTest<QtToolkit> {
protected:
    void build() {
        buildProgram();
        form1->Timer1->setEnabled(false);
        form1->Timer2->setEnabled(false);
        form1->Show();
    }

    template <class W>
    W* widget(const TForm& form, const char* name) const {
        auto* window = dynamic_cast<QtControl*>(form.Peer())->widget();
        if (window->objectName() == QLatin1String(name)) {
            return qobject_cast<W*>(window);
        }
        return window->findChild<W*>(QLatin1String(name));
    }

    // Shows the dialog, makes it the active window and puts the focus into the field.
    void focus(QWidget* field) {
        form2->Show();
        QWidget* window = field->window();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        field->setFocus(Qt::MouseFocusReason);
    }
};

QColor background(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

// The characters a user reads in a text that Qt shows in `format`.
QString readAs(const QString& text, Qt::TextFormat format = Qt::AutoText) {
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text))) {
        return text;
    }
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

}  // namespace

TEST_F(QtWindows, StripDrawsTheDisplayAndForwardsThePointer) {
    data.put("remain.dat", "001:00:00\r\n");
    build();
    auto* strip = widget<QWidget>(*form1, "Form1");
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(strip->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(strip->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(strip->windowTitle(), "Surftally");
    EXPECT_EQ(strip->size(), QSize(120, 37));
    EXPECT_EQ(strip->pos(), QPoint(0, 768 - 67));

    auto* display = widget<QLabel>(*form1, "Display");
    auto* status = widget<QLabel>(*form1, "Status");
    ASSERT_TRUE(display && status);
    EXPECT_EQ(display->geometry(), QRect(2, 2, 116, 21));
    EXPECT_EQ(status->geometry(), QRect(0, 24, 120, 13));
    EXPECT_EQ(display->text(), "001:00:00");
    EXPECT_EQ(display->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(display->font().bold());
    EXPECT_EQ(display->font().pixelSize(), 16);
    EXPECT_EQ(display->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(display->toolTip(), "Available Time on Your Internet Account - Calculated");

    // Off-line, a move over the display holds the stored balance: red, below the minimum.
    QTest::mouseMove(display, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), display->mapToGlobal(QPointF(6, 6)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(display, &move);
    EXPECT_EQ(background(display), QColor(255, 0, 0));
    EXPECT_EQ(display->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(display, &leave);
    EXPECT_FALSE(form1->state().HoverHold);

    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_TRUE(widget<QWidget>(*form2, "Form2")->isVisible());
}

TEST_F(QtWindows, TextsFromFilesAreShownAsTheirCharactersNeverAsMarkup) {
    build();
    const std::string markup = "<font color=red>1</font>";
    form1->Display->setCaption(markup);
    auto* display = widget<QLabel>(*form1, "Display");
    EXPECT_EQ(readAs(display->text(), display->textFormat()), QString::fromStdString(markup));
    // Drawn yellow on black: nothing of it red.
    const QImage drawn = display->grab().toImage();
    int red = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 ? 1 : 0;
        }
    }
    EXPECT_EQ(red, 0);

    const std::string hint = "  <b>bold</b> & <i>more</i>";
    form1->Display->setHint(hint);
    EXPECT_EQ(readAs(display->toolTip()), QString::fromStdString(hint));

    app.Reporter().report("'<b>1</b>' is not a valid integer value");
    QMessageBox* box = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("ErrorBox") && top->isVisible()) {
            box = qobject_cast<QMessageBox*>(top);
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(readAs(box->text(), box->textFormat()),
              QStringLiteral("'<b>1</b>' is not a valid integer value"));
    box->done(QMessageBox::Ok);
}

TEST_F(QtWindows, DialogTitleIsTheDesignsAndItsCloseButtonOnlyHides) {
    data.put("srpski.dat", "");
    build();
    auto* dialog = widget<QWidget>(*form2, "Form2");
    form2->Show();
    EXPECT_EQ(dialog->windowTitle(), " Podesavanje - Surftally  ");
    EXPECT_EQ(dialog->size(), QSize(178, 381));
    EXPECT_EQ(widget<QLabel>(*form2, "Label3")->text(), "Pocetak(HH:MM)");
    EXPECT_EQ(widget<QGroupBox>(*form2, "GroupBox1")->title(), "  Vreme na racunu  ");
    // The window manager's close button hides the dialog, and so does Escape.
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    form2->Show();
    dialog->close();
    EXPECT_FALSE(form2->Visible());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(form1->Visible());
}

TEST_F(QtWindows, MaskedEditTakesKeysThroughTheForms) {
    build();
    auto* edit = widget<QLineEdit>(*form2, "Edit");
    ASSERT_NE(edit, nullptr);
    focus(edit);
    edit->setCursorPosition(0);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    QTest::keyClicks(edit, "0127580");
    EXPECT_EQ(edit->text(), "012:00:00");
    EXPECT_EQ(data.get("remain.dat"), "012:00:00\r\n");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "012:00:0_");
    EXPECT_EQ(edit->cursorPosition(), 8);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "000:00:00");
}

TEST_F(QtWindows, RefusedLeaveBringsTheFocusBack) {
    build();
    auto* begin = widget<QLineEdit>(*form2, "EconomicBegin");
    focus(begin);
    begin->setCursorPosition(0);
    QTest::keyClick(begin, Qt::Key_Delete);
    ASSERT_EQ(begin->text(), "_0:00");
    app.Reporter().dismiss();
    widget<QWidget>(*form2, "Procenat")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(app.Reporter().shownText(),
              "Invalid input value.  Use escape key to abandon changes");
    QTest::qWait(20);
    EXPECT_EQ(widget<QWidget>(*form2, "Form2")->focusWidget(), begin);
    EXPECT_EQ(begin->cursorPosition(), 0);
    // One box, not modal.
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "ErrorBox" && w->isVisible()) {
            ++boxes;
            EXPECT_EQ(static_cast<QMessageBox*>(w)->windowModality(), Qt::NonModal);
        }
    }
    EXPECT_EQ(boxes, 1);
    app.Reporter().dismiss();
}

TEST_F(QtWindows, SpinEditRefusesWhatCannotBeTypedAndClampsOnLeaving) {
    build();
    auto* procenat = widget<QAbstractSpinBox>(*form2, "Procenat");
    ASSERT_NE(procenat, nullptr);
    focus(procenat);
    procenat->selectAll();
    QTest::keyClicks(procenat, "1x50");
    EXPECT_EQ(procenat->text(), "150");
    EXPECT_EQ(form1->state().DiscountPercent, 150);
    widget<QWidget>(*form2, "Alarm")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(procenat->text(), "100");
    EXPECT_EQ(form1->state().DiscountPercent, 100);
    QTest::keyClick(widget<QWidget>(*form2, "Alarm"), Qt::Key_Up);
    EXPECT_EQ(form1->state().AlarmHours, 1);
}

TEST_F(QtWindows, CheckBoxAndButtonsForwardClicks) {
    build();
    form2->Show();
    auto* freeze = widget<QCheckBox>(*form2, "Freeze");
    QTest::mouseClick(freeze, Qt::LeftButton, {}, QPoint(5, freeze->height() / 2));
    EXPECT_TRUE(form2->Freeze->Checked());
    EXPECT_TRUE(freeze->isChecked());
    EXPECT_EQ(data.get("freeze.dat"), "On\r\n");
    form2->Status->setChecked(false);  // a program step shows on the Qt box too
    EXPECT_FALSE(widget<QCheckBox>(*form2, "Status")->isChecked());
    EXPECT_EQ(widget<QWidget>(*form1, "Form1")->height(), 25);
    QTest::mouseClick(widget<QPushButton>(*form2, "Button3"), Qt::LeftButton);
    EXPECT_TRUE(widget<QWidget>(*form4, "Form4")->isVisible());
}

// Each help line stands on its own row: none wraps inside the memo beside its scroll bar.
TEST_F(QtWindows, HelpLinesFitTheMemoUnwrapped) {
    build();
    for (const char* name : {"Memo1", "Memo2"}) {
        auto* memo = widget<QPlainTextEdit>(*form4, name);
        ASSERT_NE(memo, nullptr) << name;
        const int room = memo->width() - memo->verticalScrollBar()->sizeHint().width() -
                         2 * memo->frameWidth() -
                         2 * static_cast<int>(memo->document()->documentMargin());
        const QFontMetrics metrics(memo->font());
        const auto& lines =
            std::string(name) == "Memo1" ? HelpTexts::English() : HelpTexts::Serbian();
        for (const std::string& line : lines) {
            EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(line)), room)
                << name << ": " << line << " in " << memo->font().family().toStdString();
        }
    }
}

TEST_F(QtWindows, SamplePicturesAreTheStripsOwnDrawing) {
    build();
    const struct {
        const char* name;
        QColor background;
    } samples[] = {
        {"Image1", Qt::black},           {"Image2", QColor(0, 128, 0)},
        {"Image3", QColor(255, 255, 0)}, {"Image4", QColor(255, 0, 0)},
        {"Image5", Qt::white},
    };
    for (const auto& s : samples) {
        auto* label = widget<QLabel>(*form4, s.name);
        ASSERT_TRUE(label) << s.name;
        const QImage image = label->pixmap().toImage();
        EXPECT_EQ(image.size(), QSize(120, 25)) << s.name;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(153, 153, 153)) << s.name;
        EXPECT_EQ(image.pixelColor(3, 3), s.background) << s.name;
    }
    auto* close = widget<QPushButton>(*form4, "Button3");
    EXPECT_EQ(close->geometry(), QRect(455, 174, 73, 20));
}

// Every way text arrives in one piece goes through the field's rules: what cannot be typed
// there cannot be pasted, dropped or composed there either.
TEST_F(QtWindows, PasteAndInputMethodGoThroughTheMaskedEdit) {
    build();
    auto* edit = widget<QLineEdit>(*form2, "Edit");
    focus(edit);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    QGuiApplication::clipboard()->setText("012:30:00\n");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "012:30:00");
    EXPECT_EQ(data.get("remain.dat"), "012:30:00\r\n");

    QGuiApplication::clipboard()->setText("01:2");
    form2->Edit->userCaret(0);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "012:30:00");  // a colon where a digit goes: refused whole
    QGuiApplication::clipboard()->setText("2");
    form2->Edit->userCaret(3);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "012:20:00");  // never a tenth character

    QInputMethodEvent composed;
    composed.setCommitString("x");
    QApplication::sendEvent(edit, &composed);
    EXPECT_EQ(edit->text(), "012:20:00");
    QInputMethodEvent committed;
    committed.setCommitString("5");
    QApplication::sendEvent(edit, &committed);
    EXPECT_EQ(edit->text(), "012:25:00");
    EXPECT_EQ(data.get("remain.dat"), "012:25:00\r\n");
}

TEST_F(QtWindows, PastedNumberGoesThroughTheSpinEdit) {
    build();
    auto* alarm = widget<QAbstractSpinBox>(*form2, "Alarm");
    focus(alarm);
    alarm->selectAll();
    QGuiApplication::clipboard()->setText(" 12 ");
    QTest::keyClick(alarm, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(alarm->text(), "12");
    EXPECT_EQ(form1->state().AlarmHours, 12);
    QGuiApplication::clipboard()->setText("1e");
    QTest::keyClick(alarm, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(alarm->text(), "12");
}

TEST_F(QtWindows, EnterPressesOkAndEscapeClosesFromAnyField) {
    build();
    auto* dialog = widget<QWidget>(*form2, "Form2");
    auto* alarm = widget<QAbstractSpinBox>(*form2, "Alarm");
    focus(alarm);
    alarm->selectAll();
    QTest::keyClicks(alarm, "7");
    QTest::keyClick(alarm, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(data.get("alarm.dat"), "7\r\n");

    auto* begin = widget<QLineEdit>(*form2, "EconomicBegin");
    focus(begin);
    QTest::keyClick(begin, Qt::Key_Home);
    QTest::keyClicks(begin, "1");
    QTest::keyClick(begin, Qt::Key_Escape);  // abandons the change only
    EXPECT_EQ(begin->text(), "00:00");
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(begin, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(data.get("economic.dat"), "00:00\r\n00:00\r\n0\r\n");
}
