#pragma once

#include <exception>
#include <string>
#include <utility>

#include "forms/ErrorReporter.h"
#include "forms/Toolkit.h"

namespace surftally {

// The program's application object as the windows see it: the toolkit, the title of its
// message boxes, the error guard and the end of the program.
class TApplication {
public:
    explicit TApplication(Toolkit& toolkit, std::string title = "Surftally");

    Toolkit& toolkit() const { return toolkit_; }
    ErrorReporter& Reporter() { return reporter_; }
    const std::string& Title() const { return title_; }

    // Runs a handler; a failure ends it and its text goes to the error report. Every event
    // handler of the windows runs through here, so no exception reaches a toolkit's loop.
    template <class Handler>
    void Guarded(Handler&& handler) noexcept {
        try {
            std::forward<Handler>(handler)();
        } catch (const std::exception& e) {
            report(e.what());
        } catch (...) {
            report("Unknown error");
        }
    }

    // Ends the message loop. A message on screen, such as the reason the program ends, stays
    // until the user has closed it.
    void Terminate();
    bool Terminating() const { return terminating_; }

private:
    void report(const char* text) noexcept;

    Toolkit& toolkit_;
    std::string title_;
    ErrorReporter reporter_;
    bool terminating_ = false;
};

}  // namespace surftally
