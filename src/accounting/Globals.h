#pragma once

#include <string>

namespace surftally {

// The connection text the probe produced last; the tip and the status strip show it.
inline std::string ConnectionText;

// The user interface speaks Serbian; decided once at start from the marker file.
inline bool Serbian = false;

}  // namespace surftally
