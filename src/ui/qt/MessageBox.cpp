#include "ui/qt/MessageBox.h"

#include <QMessageBox>

namespace surftally {

QtMessageBox::QtMessageBox(std::function<void()> closed)
    : box_(new QMessageBox(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok)) {
    box_->setObjectName(QStringLiteral("ErrorBox"));
    // A message may quote a file's text: shown as its characters, never as markup.
    box_->setTextFormat(Qt::PlainText);
    box_->setWindowModality(Qt::NonModal);
    box_->setWindowFlag(Qt::WindowStaysOnTopHint);
    box_->setAttribute(Qt::WA_ShowWithoutActivating);
    QObject::connect(box_, &QMessageBox::finished, box_,
                     [closed = std::move(closed)] { closed(); });
}

QtMessageBox::~QtMessageBox() {
    delete box_.data();
}

void QtMessageBox::show(const std::string& title, const std::string& text) {
    box_->setWindowTitle(QString::fromStdString(title));
    box_->setText(QString::fromStdString(text));
    box_->show();
    box_->raise();
}

void QtMessageBox::close() {
    if (box_->isVisible()) {
        box_->done(QMessageBox::Ok);
    }
}

}  // namespace surftally
