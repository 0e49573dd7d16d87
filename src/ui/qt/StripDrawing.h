#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "accounting/Colours.h"
#include "forms/StripLook.h"

namespace surftally {

// The look of the display strip, shared by the display window and the help window's
// sample pictures.
namespace QtStripDrawing {

constexpr int kWidth = StripLook::kWidth;
constexpr int kHeight = StripLook::kHeight;
constexpr int kStatusHeight = StripLook::kStatusHeight;

QColor toQColor(Colour c);

// The strip's background: black inside its frame.
QPixmap backImage();

// The display's and the status strip's fonts.
QFont displayFont();
QFont statusFont();

// The whole strip as it looks with the given text and colours.
QImage render(const QString& text, Colour background, Colour textColour);

}  // namespace QtStripDrawing

}  // namespace surftally
