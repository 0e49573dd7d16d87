#pragma once

#include <string>

#include "accounting/Colours.h"

namespace surftally {

// What the display shows, in words, for those who cannot tell it by its colours: the clock or
// the balance (enough, under the minimum, frozen), then the connection text ("Off - Line",
// "Modem", ...). The colours are the display's background and text.
std::string DisplayStateText(Colour background, Colour text, const std::string& connection,
                             bool serbian);

}  // namespace surftally
