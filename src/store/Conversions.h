#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace surftally {

// Decimal integer with optional leading blanks and sign; anything else, or a value outside
// 32 bits, raises ConvertError with the text.
std::int32_t StrToInt(std::string_view text);

std::string IntToStr(std::int64_t value);

// Decimal text of value, prefixed with "0" until it is at least width characters long.
std::string ZeroPadded(std::int32_t value, std::size_t width);

// Blanks (spaces, tabs) removed from both ends.
std::string_view Trim(std::string_view text);

// Characters first..first+count-1 (1-based, as the file formats count them), or as many of
// them as the text has.
std::string_view Field(std::string_view text, std::size_t first, std::size_t count);

// "HHH:MM:SS" to seconds: hours x 3600 + minutes x 60 + seconds, each field by its position.
std::int32_t BalanceToSeconds(std::string_view text);

// Seconds to "HHH:MM:SS"; negative values read as zero, values past 999:59:59 are capped.
std::string SecondsToBalance(std::int64_t seconds);

// A text that a balance file may hold: exactly nine characters, three digits, colon, two
// digits below 60, colon, two digits below 60.
bool IsBalanceText(std::string_view text);

// A switch line: trimmed "On" is true, trimmed "Off" is false, anything else (case counts)
// leaves the switch as it was.
std::optional<bool> ReadSwitch(std::string_view line);
const char* SwitchText(bool on);

// A position line: trimmed "-1" gives defaultValue; any other text is converted untrimmed.
std::int32_t ReadPosition(std::string_view line, std::int32_t defaultValue);

// "HH:MM" to seconds since midnight. Hours must be 00-23 and minutes 00-59; a short or
// malformed text raises ConvertError.
std::int32_t TimeTextToSeconds(std::string_view text);

}  // namespace surftally
