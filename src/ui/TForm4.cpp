#include "TForm4.h"

#include "Globals.h"
#include "Texts.h"

namespace surftally {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setFixedSize(536, 201);
    FormCreate();
}

void TForm4::FormCreate() {
    setWindowTitle(QString::fromUtf8(Texts::HelpCaption.pick(Serbian)));
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TForm4::FormShow() {
    raise();
}

void TForm4::Button3Click() {
    hide();
}

}  // namespace surftally
