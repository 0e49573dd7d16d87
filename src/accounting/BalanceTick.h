#pragma once

#include "SharedState.h"

#include <cstdint>

namespace surftally {

class Clock;
class ConnectionFlags;
class DataFolder;
class TickView;

// The once-a-second heart of the program: probes the connection, counts the balance down
// while on-line (less the economic discount), holds it off-line, saves it at minute marks
// and when the connection drops, and paints the display and the status strip.
// Makes seconds the new base balance from now on (the user edited the balance): nothing
// counted so far is charged against it.
void RebaseBalance(SharedState& state, const Clock& clock, std::int32_t seconds);

class BalanceTick {
public:
    BalanceTick(SharedState& state, const Clock& clock, ConnectionFlags& flags,
                const DataFolder& folder, TickView& view);

    void Timer1Timer();

private:
    SharedState& state_;
    const Clock& clock_;
    ConnectionFlags& flags_;
    const DataFolder& folder_;
    TickView& view_;
};

}  // namespace surftally
