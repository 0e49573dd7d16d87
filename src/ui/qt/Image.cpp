#include "ui/qt/Image.h"

#include <QLabel>

#include "forms/TImage.h"
#include "ui/qt/StripDrawing.h"

namespace surftally {

namespace {

QWidget* create(TControl&, QWidget* parent) {
    return new QLabel(parent);
}

void apply(TControl& control, QWidget* widget, Property property) {
    if (property != Property::Picture) {
        return;
    }
    const DisplayPicture& picture = static_cast<TImage&>(control).Picture();
    auto* label = static_cast<QLabel*>(widget);
    if (picture.Text.empty()) {
        label->setPixmap(QtStripDrawing::backImage());
    } else {
        label->setPixmap(QPixmap::fromImage(QtStripDrawing::render(
            QString::fromStdString(picture.Text), picture.Background, picture.TextColour)));
    }
}

}  // namespace

const QtKind QtImage{create, apply};

}  // namespace surftally
