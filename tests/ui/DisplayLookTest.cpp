#include <gtest/gtest.h>

#include <QFontInfo>

#include "DisplayLook.h"

using namespace surftally;

TEST(DisplayLook, FrameRingsAndDisplayArea) {
    const QImage image = DisplayLook::render(QStringLiteral("013:25:53"), clYellow, clBlack);
    ASSERT_EQ(image.size(), QSize(120, 25));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(153, 153, 153));
    EXPECT_EQ(image.pixelColor(119, 24), QColor(153, 153, 153));
    EXPECT_EQ(image.pixelColor(1, 12), QColor(127, 127, 127));
    EXPECT_EQ(image.pixelColor(118, 1), QColor(127, 127, 127));
    // The display fills everything inside the frame.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(117, 22), QColor(255, 255, 0));
    // The text is drawn in the text colour somewhere in the middle.
    int dark = 0;
    for (int x = 20; x < 100; ++x) {
        for (int y = 5; y < 20; ++y) {
            dark += image.pixelColor(x, y).lightness() < 60 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 50);
}

TEST(DisplayLook, FontsAreBoldOfTheirPixelHeight) {
    EXPECT_TRUE(DisplayLook::displayFont().bold());
    EXPECT_EQ(DisplayLook::displayFont().pixelSize(), 16);
    EXPECT_TRUE(DisplayLook::statusFont().bold());
    EXPECT_EQ(DisplayLook::statusFont().pixelSize(), 11);
}

TEST(DisplayLook, ColourValuesAreBlueGreenRed) {
    EXPECT_EQ(DisplayLook::toQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(DisplayLook::toQColor(clMaroon), QColor(128, 0, 0));
    EXPECT_EQ(DisplayLook::toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(DisplayLook::toQColor(clBlue), QColor(0, 0, 255));
}
