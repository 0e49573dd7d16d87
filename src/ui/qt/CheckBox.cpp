#include "ui/qt/CheckBox.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "forms/TCheckBox.h"

namespace surftally {

namespace {

QWidget* create(TControl& control, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [&control] { static_cast<TCheckBox&>(control).userToggle(); });
    return box;
}

void apply(TControl& control, QWidget* widget, Property property) {
    auto* box = static_cast<QCheckBox*>(widget);
    if (property == Property::Caption) {
        box->setText(QString::fromStdString(control.Caption()));
    } else if (property == Property::Checked) {
        const QSignalBlocker blocker(box);
        box->setChecked(static_cast<TCheckBox&>(control).Checked());
    }
}

}  // namespace

const QtKind QtCheckBox{create, apply};

}  // namespace surftally
