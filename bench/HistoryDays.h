#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "accounting/History.h"

namespace surftally {

// The lines of a history kept as long as it can be: three spells on each of the 400 days
// before today, the evening's at half price.
inline std::vector<std::string> FullHistory(LocalDay today) {
    using namespace std::chrono_literals;
    std::vector<std::string> lines;
    for (int back = static_cast<int>(kHistoryKept.count()) - 1; back >= 1; --back) {
        const LocalTime day{today - std::chrono::days{back}};
        for (const auto& [from, minutes, half] :
             {std::tuple{9h, 25, false}, std::tuple{14h, 40, false}, std::tuple{21h, 95, true}}) {
            const std::int64_t online = minutes * 60;
            lines.push_back(FormatSpell({day + from, day + from + std::chrono::minutes{minutes},
                                         "Modem", half ? online / 2 : online, online}));
        }
    }
    return lines;
}

}  // namespace surftally
