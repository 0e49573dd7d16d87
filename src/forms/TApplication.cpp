#include "forms/TApplication.h"

namespace surftally {

TApplication::TApplication(Toolkit& toolkit, std::string title)
    : toolkit_(toolkit), title_(std::move(title)), reporter_(toolkit, title_) {}

void TApplication::report(const char* text) noexcept {
    try {
        reporter_.report(text);
    } catch (...) {
        // Nothing left to tell the user with.
    }
}

void TApplication::Terminate() {
    if (terminating_) {
        return;
    }
    terminating_ = true;
    reporter_.whenIdle([this] { toolkit_.quit(); });
}

}  // namespace surftally
