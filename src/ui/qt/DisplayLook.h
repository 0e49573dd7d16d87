#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "Colours.h"

namespace surftally {

// The look of the display strip, shared by the display window and the help window's
// sample pictures.
namespace DisplayLook {

constexpr int kWidth = 120;
constexpr int kHeight = 25;
constexpr int kStatusHeight = 13;

QColor toQColor(Colour c);

// The 120 x 25 background: black inside a two-pixel grey frame.
QPixmap backImage();

// Bold 16-pixel font of the display, bold 11-pixel font of the status strip.
QFont displayFont();
QFont statusFont();

// The whole strip as it looks with the given text and colours.
QImage render(const QString& text, Colour background, Colour textColour);

}  // namespace DisplayLook

}  // namespace surftally
