#pragma once

#include <optional>
#include <string>

#include "accounting/SharedState.h"

namespace surftally {

class Clock;
class DataFolder;

// What reading the stored state at start gives the display window besides the record.
struct StoredStateResult {
    std::optional<int> left;  // window left, once known
    std::optional<int> top;   // window top, once known
    std::string error;        // the failure that ended the reading; empty when all went well
};

// The display window's creation step as far as it reads the data folder: the position, the
// balance, the minimum, the economic period and the language, in that order. A failing step
// ends the sequence; fields set before it stay set and the error text is returned.
StoredStateResult ReadStoredState(SharedState& state, const DataFolder& folder, const Clock& clock,
                                  int screenHeight);

}  // namespace surftally
