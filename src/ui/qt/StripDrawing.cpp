#include "ui/qt/StripDrawing.h"

#include <QFontDatabase>
#include <QPainter>

namespace surftally::QtStripDrawing {

namespace {

QFont pixelFont(const TFont& look) {
    QFont font;
    const QStringList families = QFontDatabase::families();
    QStringList wanted;
    for (const std::string& family : look.Families) {
        wanted << QString::fromStdString(family);
    }
    wanted << QStringLiteral("DejaVu Sans");
    for (const QString& family : wanted) {
        if (families.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(look.PixelSize);
    font.setBold(look.Bold);
    return font;
}

}  // namespace

QColor toQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QPixmap backImage() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    // One ring a pixel wide each.
    p.setPen(toQColor(StripLook::kOuterFrame));
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.setPen(toQColor(StripLook::kInnerFrame));
    p.drawRect(1, 1, kWidth - 3, kHeight - 3);
    p.end();
    return QPixmap::fromImage(image);
}

QFont displayFont() {
    return pixelFont(StripLook::DisplayFont());
}

QFont statusFont() {
    return pixelFont(StripLook::StatusFont());
}

QImage render(const QString& text, Colour background, Colour textColour) {
    QImage image = backImage().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    const TRect& b = StripLook::DisplayBounds;
    const QRect display(b.Left, b.Top, b.Width, b.Height);
    p.fillRect(display, toQColor(background));
    p.setPen(toQColor(textColour));
    p.setFont(displayFont());
    p.drawText(display, Qt::AlignCenter, text);
    p.end();
    return image;
}

}  // namespace surftally::QtStripDrawing
