#pragma once

#include <string>
#include <vector>

namespace surftally::HelpTexts {

// The help window's text, line by line, trailing blanks included.
const std::vector<std::string>& English();
const std::vector<std::string>& Serbian();

}  // namespace surftally::HelpTexts
