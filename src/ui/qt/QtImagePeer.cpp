#include "QtImagePeer.h"

#include <QLabel>

#include "DisplayLook.h"
#include "TImage.h"

namespace surftally {

QtImagePeer::QtImagePeer(TControl& control)
    : QtControlPeer(control, new QLabel(parentWidget(control))) {}

void QtImagePeer::apply(Property property) {
    if (property != Property::Picture) {
        return;
    }
    const DisplayPicture& picture = static_cast<TImage&>(control_).Picture();
    auto* label = static_cast<QLabel*>(widget());
    if (picture.Text.empty()) {
        label->setPixmap(DisplayLook::backImage());
    } else {
        label->setPixmap(QPixmap::fromImage(DisplayLook::render(
            QString::fromStdString(picture.Text), picture.Background, picture.TextColour)));
    }
}

}  // namespace surftally
