#include <gtest/gtest.h>

#include <QFontMetrics>
#include <set>

#include "accounting/ConnectionProbe.h"
#include "ui/qt/StripDrawing.h"

using namespace surftally;

namespace {

// The colours of the ring `inset` pixels inside the picture's edges.
std::set<QRgb> ring(const QImage& image, int inset) {
    std::set<QRgb> colours;
    const int right = image.width() - 1 - inset;
    const int bottom = image.height() - 1 - inset;
    for (int x = inset; x <= right; ++x) {
        colours.insert(image.pixel(x, inset));
        colours.insert(image.pixel(x, bottom));
    }
    for (int y = inset; y <= bottom; ++y) {
        colours.insert(image.pixel(inset, y));
        colours.insert(image.pixel(right, y));
    }
    return colours;
}

}  // namespace

// The frame is two rings of one colour each, all round the picture's edges, neither black nor
// the display's own; the display fills everything inside, whatever its colours.
TEST(QtStripDrawing, FrameRingsLieAtTheEdgesAndTheDisplayFillsTheInside) {
    const QImage back = QtStripDrawing::backImage().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), QSize(StripLook::kWidth, StripLook::kHeight));
    const std::set<QRgb> outer = ring(back, 0);
    const std::set<QRgb> inner = ring(back, 1);
    ASSERT_EQ(outer.size(), 1u);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_NE(*outer.begin(), *inner.begin());
    EXPECT_EQ(ring(back, StripLook::kFrameWidth), std::set<QRgb>{qRgb(0, 0, 0)});

    const struct {
        Colour background;
        Colour text;
    } looks[] = {{clYellow, clBlack}, {clBlack, clYellow}, {clRed, clWhite}, {clWhite, clBlue}};
    for (const auto& look : looks) {
        SCOPED_TRACE(look.background);
        const QImage image =
            QtStripDrawing::render(QStringLiteral("013:25:53"), look.background, look.text);
        ASSERT_EQ(image.size(), back.size());
        // The strip and the help's pictures share the frame.
        EXPECT_EQ(ring(image, 0), outer);
        EXPECT_EQ(ring(image, 1), inner);
        const QRgb background = QtStripDrawing::toQColor(look.background).rgb();
        EXPECT_NE(*outer.begin(), background);
        EXPECT_NE(*inner.begin(), background);
        EXPECT_EQ(ring(image, StripLook::kFrameWidth), std::set<QRgb>{background});
        // The text is drawn in its colour inside the display.
        int textPixels = 0;
        const QColor text = QtStripDrawing::toQColor(look.text);
        for (int x = StripLook::kFrameWidth; x < image.width() - StripLook::kFrameWidth; ++x) {
            for (int y = StripLook::kFrameWidth; y < image.height() - StripLook::kFrameWidth; ++y) {
                textPixels += image.pixelColor(x, y) == text ? 1 : 0;
            }
        }
        EXPECT_GT(textPixels, 50);
    }
}

// The widest balance fits the display, and every connection text the status strip, so that
// neither is cut.
TEST(QtStripDrawing, WidestTextsFitTheirStrips) {
    const QFontMetrics display(QtStripDrawing::displayFont());
    EXPECT_TRUE(QtStripDrawing::displayFont().bold());
    EXPECT_LE(display.horizontalAdvance(QStringLiteral("888:88:88")),
              StripLook::DisplayBounds.Width);
    EXPECT_LE(display.height(), StripLook::DisplayBounds.Height);
    const QFontMetrics status(QtStripDrawing::statusFont());
    for (const char* text : {Connection::OffLine, Connection::Modem, Connection::Lan,
                             Connection::Proxy, Connection::ModemBusy}) {
        SCOPED_TRACE(text);
        EXPECT_LE(status.horizontalAdvance(QString::fromLatin1(text)), StripLook::kWidth);
        EXPECT_LE(status.ascent(), StripLook::kStatusHeight);
    }
}

TEST(QtStripDrawing, ColourValuesAreBlueGreenRed) {
    EXPECT_EQ(QtStripDrawing::toQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(QtStripDrawing::toQColor(clMaroon), QColor(128, 0, 0));
    EXPECT_EQ(QtStripDrawing::toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(QtStripDrawing::toQColor(clBlue), QColor(0, 0, 255));
}
