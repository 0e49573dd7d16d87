#pragma once

#include <string>

namespace surftally {

// The windows' texts are UTF-8; Windows takes UTF-16.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace surftally
