#include "QtImagePeer.h"

#include <QLabel>

#include "DisplayLook.h"
#include "TImage.h"

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
        label->setPixmap(DisplayLook::backImage());
    } else {
        label->setPixmap(QPixmap::fromImage(DisplayLook::render(
            QString::fromStdString(picture.Text), picture.Background, picture.TextColour)));
    }
}

}  // namespace

const QtKind QtImagePeer{create, apply};

}  // namespace surftally
