#include "ui/qt/Memo.h"

#include <QPlainTextEdit>

#include "forms/TMemo.h"

namespace surftally {

namespace {

QWidget* create(TControl&, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

void apply(TControl& control, QWidget* widget, Property property) {
    if (property != Property::Lines) {
        return;
    }
    QStringList lines;
    for (const std::string& line : static_cast<TMemo&>(control).Lines()) {
        lines << QString::fromStdString(line);
    }
    static_cast<QPlainTextEdit*>(widget)->setPlainText(lines.join(QLatin1Char('\n')));
}

}  // namespace

const QtKind QtMemo{create, apply};

}  // namespace surftally
