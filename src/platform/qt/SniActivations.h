#pragma once

#include <chrono>
#include <optional>
#include <vector>

namespace surftally {

// The D-Bus notification protocol has no double click, only activations. This pairs them by
// the moment each arrived, not by when the event loop gets to them: two within the
// double-click interval are a double click, a third right after belongs to it, and one with
// no other within the interval is a click. A loop that takes a burst late, or a timer and a
// waiting activation in either order, gives the same result.
class SniActivations {
public:
    using Clock = std::chrono::steady_clock;
    enum class Gesture { Click, DoubleClick };

    // An activation that arrived at `at`, with the interval in force then. Activations come
    // in the order they arrived. Returns the gestures that are decided now.
    std::vector<Gesture> arrived(Clock::time_point at, std::chrono::milliseconds interval);
    // The time is `now` and every activation that arrived before it has been given: a held
    // activation whose interval is over is a click.
    std::vector<Gesture> due(Clock::time_point now);
    // When `due` has something to decide; none while nothing is held.
    std::optional<Clock::time_point> deadline() const;

private:
    enum class State { Idle, Held, AfterDouble };
    // Drops what the interval since `last_` has ended; a held activation becomes a click.
    void expire(Clock::time_point now, std::vector<Gesture>& gestures);

    State state_ = State::Idle;
    Clock::time_point last_{};  // the held activation, or the double click's second
    std::chrono::milliseconds interval_{0};
};

}  // namespace surftally
