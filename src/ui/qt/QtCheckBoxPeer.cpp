#include "QtCheckBoxPeer.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "TCheckBox.h"

namespace surftally {

QtCheckBoxPeer::QtCheckBoxPeer(TControl& control)
    : QtControlPeer(control, new QCheckBox(parentWidget(control))) {
    auto* box = static_cast<QCheckBox*>(widget());
    connect(box, &QCheckBox::clicked, this,
            [this] { static_cast<TCheckBox&>(control_).userToggle(); });
}

void QtCheckBoxPeer::apply(Property property) {
    auto* box = static_cast<QCheckBox*>(widget());
    if (property == Property::Caption) {
        box->setText(QString::fromStdString(control_.Caption()));
    } else if (property == Property::Checked) {
        const QSignalBlocker blocker(box);
        box->setChecked(static_cast<TCheckBox&>(control_).Checked());
    }
}

}  // namespace surftally
