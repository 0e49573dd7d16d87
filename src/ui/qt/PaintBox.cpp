#include "ui/qt/PaintBox.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include "forms/TPaintBox.h"

namespace surftally {

namespace {

// The palette's colour of a role: the ground and the text of a field, the selection colour
// for what was charged and a tint of it halfway to the ground for the time on-line, so that
// a dark theme's palette keeps every shape apart from its ground.
QColor colourOf(const QPalette& palette, ShapeRole role) {
    switch (role) {
        case ShapeRole::Background:
            return palette.color(QPalette::Base);
        case ShapeRole::Axis:
        case ShapeRole::Text:
            return palette.color(QPalette::Text);
        case ShapeRole::Charged:
            return palette.color(QPalette::Highlight);
        case ShapeRole::Online: {
            const QColor a = palette.color(QPalette::Highlight);
            const QColor b = palette.color(QPalette::Base);
            return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2,
                          (a.blue() + b.blue()) / 2);
        }
    }
    return palette.color(QPalette::Text);
}

Qt::Alignment alignmentOf(TAlignment alignment) {
    switch (alignment) {
        case TAlignment::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case TAlignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case TAlignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Qt scales the widget's pixels to the screen itself: the shapes are asked for at scale 1.
class PaintWidget final : public QWidget {
public:
    PaintWidget(TPaintBox& box, QWidget* parent) : QWidget(parent), box_(box) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // The desktop's own pair of ground and text, not the window's fixed face, which
        // would put a dark theme's light text on grey.
        const QPalette colours = QGuiApplication::palette();
        for (const Shape& shape : box_.Paint({width(), height()}, 1.0)) {
            const QColor colour = colourOf(colours, shape.role);
            const QRect rect(shape.rect.Left, shape.rect.Top, shape.rect.Width, shape.rect.Height);
            switch (shape.kind) {
                case Shape::Kind::Box:
                    painter.fillRect(rect, colour);
                    break;
                case Shape::Kind::Line:
                    painter.setPen(QPen(colour, shape.lineWidth, Qt::SolidLine, Qt::FlatCap));
                    painter.drawLine(rect.left(), rect.top(), shape.rect.Left + shape.rect.Width,
                                     shape.rect.Top + shape.rect.Height);
                    break;
                case Shape::Kind::Text:
                    painter.setPen(colour);
                    painter.setFont(QtControl::toQFont(
                        {{"DejaVu Sans", "Liberation Sans"}, shape.pixelSize, false, 0}));
                    painter.drawText(rect, static_cast<int>(alignmentOf(shape.alignment)),
                                     QString::fromStdString(shape.text));
                    break;
            }
        }
    }

private:
    TPaintBox& box_;
};

QWidget* create(TControl& control, QWidget* parent) {
    return new PaintWidget(static_cast<TPaintBox&>(control), parent);
}

void apply(TControl&, QWidget* widget, Property property) {
    if (property == Property::Picture) {
        widget->update();
    }
}

}  // namespace

const QtKind QtPaintBox{create, apply};

}  // namespace surftally
