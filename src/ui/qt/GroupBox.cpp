#include "ui/qt/GroupBox.h"

#include <QGroupBox>

#include "ui/qt/StripDrawing.h"

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
    widget->setFont(QtControl::toQFont(control.Font()));
    widget->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top "
                       "left; left: 6px; color: %1; background-color: %2; }")
            .arg(QtStripDrawing::toQColor(control.Font().Color).name(),
                 QtStripDrawing::toQColor(control.Color()).name()));
}

}  // namespace

const QtKind QtGroupBox{create, apply, applyFont};

}  // namespace surftally
