#pragma once

#include <string>
#include <vector>

#include "accounting/History.h"
#include "forms/TPaintBox.h"

namespace surftally {

// The history window's bar chart: per day, oldest at the left and today at the right, the
// time on-line as a light bar and the time charged as a darker bar over it (a discount or a
// freeze leaves the light part showing); the hours marked on the left axis, the dates under
// the bars every seventh day back from today, and a legend on top.
namespace HistoryChart {

// Roughly how wide a text of count characters is in a sans-serif face of pixelSize pixels:
// the layout keeps every text's box at least this wide.
int TextWidth(std::size_t count, int pixelSize);

// The shapes for days in a box of size pixels at scale times the design's pixels.
std::vector<Shape> Shapes(const std::vector<DayUse>& days, TSize size, double scale, bool serbian);

// "3:07:45": hours, minutes and seconds of a count of seconds.
std::string Duration(std::int64_t seconds);

}  // namespace HistoryChart

}  // namespace surftally
