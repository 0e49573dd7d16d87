#include "forms/ErrorReporter.h"

#include <algorithm>

namespace surftally {

namespace {

// Enough for every distinct failure one user action can raise; more are dropped.
constexpr std::size_t kMaxWaiting = 8;

}  // namespace

ErrorReporter::ErrorReporter(Toolkit& toolkit, std::string title)
    : toolkit_(toolkit), title_(std::move(title)) {}

void ErrorReporter::report(const std::string& text) {
    if (showing_) {
        if (shown_ == text || std::find(pending_.begin(), pending_.end(), text) != pending_.end() ||
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
        if (idle_) {
            auto idle = std::move(idle_);
            idle_ = nullptr;
            idle();
        }
        return;
    }
    if (box_ == nullptr) {
        box_ = toolkit_.createMessageBox([this] { closed(); });
    }
    shown_ = pending_.front();
    pending_.pop_front();
    showing_ = true;
    ++shownCount_;
    box_->show(title_, shown_);
}

void ErrorReporter::closed() {
    if (!showing_) {
        return;
    }
    showing_ = false;
    shown_.clear();
    showNext();
}

void ErrorReporter::dismiss() {
    if (showing_) {
        box_->close();
    }
}

void ErrorReporter::whenIdle(std::function<void()> handler) {
    if (!busy()) {
        handler();
        return;
    }
    idle_ = std::move(handler);
}

}  // namespace surftally
