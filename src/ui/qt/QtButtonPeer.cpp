#include "QtButtonPeer.h"

#include <QPushButton>

#include "DisplayLook.h"

namespace surftally {

QtButtonPeer::QtButtonPeer(TControl& control)
    : QtControlPeer(control, new QPushButton(parentWidget(control))) {
    auto* button = static_cast<QPushButton*>(widget());
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] { control_.userClick(); });
}

void QtButtonPeer::apply(Property property) {
    if (property == Property::Caption) {
        static_cast<QPushButton*>(widget())->setText(QString::fromStdString(control_.Caption()));
    }
}

// A style sheet, so that the styles that ignore the palette draw the text colour too.
void QtButtonPeer::applyFont() {
    QtControlPeer::applyFont();
    if (control_.Font().Color != clBlack) {
        widget()->setStyleSheet(QStringLiteral("QPushButton { color: %1; }")
                                    .arg(DisplayLook::toQColor(control_.Font().Color).name()));
    }
}

}  // namespace surftally
