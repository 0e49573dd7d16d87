#include "ui/qt/Button.h"

#include <QPushButton>

#include "ui/qt/StripDrawing.h"

namespace surftally {

namespace {

QWidget* create(TControl& control, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [&control] { control.userClick(); });
    return button;
}

void apply(TControl& control, QWidget* widget, Property property) {
    if (property == Property::Caption) {
        static_cast<QPushButton*>(widget)->setText(QString::fromStdString(control.Caption()));
    }
}

// A style sheet, so that the styles that ignore the palette draw the text colour too.
void applyFont(const TControl& control, QWidget* widget) {
    QtControl::applyCommonFont(control, widget);
    if (control.Font().Color != clBlack) {
        widget->setStyleSheet(QStringLiteral("QPushButton { color: %1; }")
                                  .arg(QtStripDrawing::toQColor(control.Font().Color).name()));
    }
}

}  // namespace

const QtKind QtButton{create, apply, applyFont};

}  // namespace surftally
