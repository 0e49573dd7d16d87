#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "forms/Toolkit.h"

namespace surftally {

// Shows failures to the user, one message box at a time. The box is not modal, so no event
// loop runs inside the handler that failed, and a second box is never stacked on an open one:
// a different text waits until the open box is closed, and a text that is already shown or
// waiting is not queued again.
class ErrorReporter {
public:
    ErrorReporter(Toolkit& toolkit, std::string title);

    void report(const std::string& text);

    // Whether a box is open or a text waits for one.
    bool busy() const { return showing_ || !pending_.empty(); }
    bool showing() const { return showing_; }
    const std::string& shownText() const { return shown_; }
    std::size_t waiting() const { return pending_.size(); }
    int shownCount() const { return shownCount_; }

    // Closes the open box, as the user does; the next waiting text follows once the box
    // reports itself closed.
    void dismiss();
    // Runs once when the last box has been closed with nothing waiting.
    void whenIdle(std::function<void()> handler);

private:
    void showNext();
    void closed();

    Toolkit& toolkit_;
    std::string title_;
    std::unique_ptr<MessageBoxPeer> box_;
    bool showing_ = false;
    std::string shown_;
    std::deque<std::string> pending_;
    int shownCount_ = 0;
    std::function<void()> idle_;
};

}  // namespace surftally
