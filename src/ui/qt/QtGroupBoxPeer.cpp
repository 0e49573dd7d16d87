#include "QtGroupBoxPeer.h"

#include <QGroupBox>

#include "DisplayLook.h"

namespace surftally {

QtGroupBoxPeer::QtGroupBoxPeer(TControl& control)
    : QtControlPeer(control, new QGroupBox(parentWidget(control))) {}

void QtGroupBoxPeer::apply(Property property) {
    if (property == Property::Caption) {
        static_cast<QGroupBox*>(widget())->setTitle(QString::fromStdString(control_.Caption()));
    }
}

// Only the caption takes the box's font and colours; its controls keep their own.
void QtGroupBoxPeer::applyFont() {
    widget()->setFont(toQFont(control_.Font()));
    widget()->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top "
                       "left; left: 6px; color: %1; background-color: %2; }")
            .arg(DisplayLook::toQColor(control_.Font().Color).name(),
                 DisplayLook::toQColor(control_.Color()).name()));
}

}  // namespace surftally
