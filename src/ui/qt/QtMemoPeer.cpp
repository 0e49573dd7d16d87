#include "QtMemoPeer.h"

#include <QPlainTextEdit>

#include "TMemo.h"

namespace surftally {

QtMemoPeer::QtMemoPeer(TControl& control)
    : QtControlPeer(control, new QPlainTextEdit(parentWidget(control))) {
    auto* memo = static_cast<QPlainTextEdit*>(widget());
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void QtMemoPeer::apply(Property property) {
    if (property != Property::Lines) {
        return;
    }
    QStringList lines;
    for (const std::string& line : static_cast<TMemo&>(control_).Lines()) {
        lines << QString::fromStdString(line);
    }
    static_cast<QPlainTextEdit*>(widget())->setPlainText(lines.join(QLatin1Char('\n')));
}

}  // namespace surftally
