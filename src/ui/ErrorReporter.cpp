#include "ErrorReporter.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace surftally {

namespace {

// Enough for every distinct failure one user action can raise; more are dropped.
constexpr std::size_t kMaxWaiting = 8;

}  // namespace

ErrorReporter& ErrorReporter::instance() {
    static ErrorReporter* reporter = new ErrorReporter;
    return *reporter;
}

void ErrorReporter::report(const QString& text) {
    if (box_ != nullptr && box_->isVisible()) {
        if (box_->text() == text ||
            std::find(pending_.begin(), pending_.end(), text) != pending_.end() ||
            pending_.size() >= kMaxWaiting) {
            return;
        }
        pending_.push_back(text);
        return;
    }
    pending_.push_back(text);
    showNext();
}

void ErrorReporter::showNext() {
    if (pending_.empty()) {
        return;
    }
    if (box_ == nullptr) {
        box_ = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), QString(),
                               QMessageBox::Ok);
        box_->setObjectName(QStringLiteral("ErrorBox"));
        box_->setWindowModality(Qt::NonModal);
        // Above the always-on-top strip, without taking the keyboard from the field being
        // edited.
        box_->setWindowFlag(Qt::WindowStaysOnTopHint);
        box_->setAttribute(Qt::WA_ShowWithoutActivating);
        connect(box_, &QMessageBox::finished, this, [this] { showNext(); });
    }
    box_->setText(pending_.front());
    pending_.pop_front();
    ++shownCount_;
    box_->show();
    box_->raise();
}

bool ErrorReporter::showing() const {
    return box_ != nullptr && box_->isVisible();
}

QString ErrorReporter::shownText() const {
    return showing() ? box_->text() : QString();
}

void ErrorReporter::dismiss() {
    if (showing()) {
        box_->done(QMessageBox::Ok);
    }
}

void ErrorReporter::clear() {
    pending_.clear();
    shownCount_ = 0;
    delete box_.data();
}

}  // namespace surftally
