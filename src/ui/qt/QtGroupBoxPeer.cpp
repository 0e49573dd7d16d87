#include "QtGroupBoxPeer.h"

#include <QGroupBox>

#include "DisplayLook.h"

namespace surftally {

namespace {

QWidget* create(TControl&, QWidget* parent) {
    return new QGroupBox(parent);
}

void apply(TControl& control, QWidget* widget, Property property) {
    if (property == Property::Caption) {
        static_cast<QGroupBox*>(widget)->setTitle(QString::fromStdString(control.Caption()));
    }
}

// Only the caption takes the box's font and colours; its controls keep their own.
void applyFont(const TControl& control, QWidget* widget) {
    widget->setFont(QtControlPeer::toQFont(control.Font()));
    widget->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top "
                       "left; left: 6px; color: %1; background-color: %2; }")
            .arg(DisplayLook::toQColor(control.Font().Color).name(),
                 DisplayLook::toQColor(control.Color()).name()));
}

}  // namespace

const QtKind QtGroupBoxPeer{create, apply, applyFont};

}  // namespace surftally
