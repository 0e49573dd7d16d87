// The paint box's Qt drawing: each shape the forms compute lands where they put it, in the
// colour the desktop palette gives its role, so that a dark scheme keeps the chart legible.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>

#include "forms/HistoryChart.h"
#include "tests/support/ProgramTest.h"
#include "ui/qt/Control.h"
#include "ui/qt/Toolkit.h"

using namespace surftally;

namespace {

class QtPaintBox : public ProgramTest<QtToolkit> {
protected:
    void TearDown() override {
        ProgramTest::TearDown();
        QApplication::setPalette(saved_);
    }
    QPalette saved_ = QApplication::palette();
};

QPoint middle(const Shape& s) {
    return {s.rect.Left + s.rect.Width / 2, s.rect.Top + s.rect.Height / 2};
}

}  // namespace

TEST_F(QtPaintBox, ChartTakesItsColoursFromADarkPalette) {
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Highlight, QColor(0x40, 0xA0, 0xE0));
    QApplication::setPalette(dark);
    // Today charged in full; 7 December on-line while frozen.
    data.put("history.dat",
             "2026-12-09 10:00:00;2026-12-09 13:00:00;Modem;10800;10800\r\n"
             "2026-12-07 10:00:00;2026-12-07 12:00:00;Modem;0;7200\r\n");
    buildProgram();
    program.history->Show();
    QWidget* chart = dynamic_cast<QtControl*>(program.history->Chart->Peer())->widget();
    ASSERT_NE(chart, nullptr);
    const QImage picture = chart->grab().toImage();

    const auto shapes = HistoryChart::Shapes(program.history->Days(),
                                             {chart->width(), chart->height()}, 1.0, false);
    const Shape* charged = nullptr;
    const Shape* frozen = nullptr;
    // The bars, not the legend's small samples: 7 December's on-line bar comes first.
    for (const Shape& s : shapes) {
        if (s.kind == Shape::Kind::Box && s.rect.Height > 20) {
            if (s.role == ShapeRole::Charged) {
                charged = &s;
            } else if (s.role == ShapeRole::Online && frozen == nullptr) {
                frozen = &s;
            }
        }
    }
    ASSERT_NE(charged, nullptr);
    ASSERT_NE(frozen, nullptr);
    ASSERT_LT(frozen->rect.Left, charged->rect.Left);
    EXPECT_EQ(picture.pixelColor(chart->width() / 2, 30), dark.color(QPalette::Base));
    EXPECT_EQ(picture.pixelColor(middle(*charged)), dark.color(QPalette::Highlight));
    // Halfway from the highlight to the ground: lighter than the charged part on a dark ground
    // as on a light one, and apart from both.
    EXPECT_EQ(picture.pixelColor(middle(*frozen)), QColor(0x30, 0x60, 0x80));
}
