#pragma once

#include <functional>

namespace surftally {

// How a second start on the same data folder reaches the program that runs there.
class InstanceChannel {
public:
    virtual ~InstanceChannel() = default;

    // The running program: onRequest runs on the loop's thread for every second start that
    // asks for the strip; onClose for every request to end the program (an installer's),
    // where the platform has such requests. False when the channel cannot be opened.
    virtual bool listen(std::function<void()> onRequest, std::function<void()> onClose) = 0;

    // A second start: asks the running program, waiting up to timeoutMs for it to answer.
    virtual bool ask(int timeoutMs) const = 0;
};

}  // namespace surftally
