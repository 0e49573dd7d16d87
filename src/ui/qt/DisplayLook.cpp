#include "DisplayLook.h"

#include <QFontDatabase>
#include <QPainter>

namespace surftally::DisplayLook {

namespace {

QFont boldPixelFont(const QString& preferred, int pixels) {
    QFont font;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : {preferred, QStringLiteral("DejaVu Sans")}) {
        if (families.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(true);
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
    p.setPen(QColor(153, 153, 153));
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.setPen(QColor(127, 127, 127));
    p.drawRect(1, 1, kWidth - 3, kHeight - 3);
    p.end();
    return QPixmap::fromImage(image);
}

QFont displayFont() {
    return boldPixelFont(QStringLiteral("MS Sans Serif"), 16);
}

QFont statusFont() {
    return boldPixelFont(QStringLiteral("Verdana"), 11);
}

QImage render(const QString& text, Colour background, Colour textColour) {
    QImage image = backImage().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    const QRect display(2, 2, kWidth - 4, kHeight - 4);
    p.fillRect(display, toQColor(background));
    p.setPen(toQColor(textColour));
    p.setFont(displayFont());
    p.drawText(display, Qt::AlignCenter, text);
    p.end();
    return image;
}

}  // namespace surftally::DisplayLook
