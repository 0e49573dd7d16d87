#include "store/Conversions.h"

#include <algorithm>
#include <limits>

#include "store/StoreErrors.h"

namespace surftally {

std::int32_t StrToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        throw ConvertError(text);
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            throw ConvertError(text);
        }
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            throw ConvertError(text);
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        throw ConvertError(text);
    }
    return static_cast<std::int32_t>(value);
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::string ZeroPadded(std::int32_t value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), '0');
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Field(std::string_view text, std::size_t first, std::size_t count) {
    if (first == 0 || first > text.size()) {
        return {};
    }
    return text.substr(first - 1, count);
}

std::int32_t BalanceToSeconds(std::string_view text) {
    const std::int64_t hours = StrToInt(Field(text, 1, 3));
    const std::int64_t minutes = StrToInt(Field(text, 5, 2));
    const std::int64_t seconds = StrToInt(Field(text, 8, 2));
    const std::int64_t total = hours * 3600 + minutes * 60 + seconds;
    if (total > std::numeric_limits<std::int32_t>::max() ||
        total < std::numeric_limits<std::int32_t>::min()) {
        throw ConvertError(text);
    }
    return static_cast<std::int32_t>(total);
}

std::string SecondsToBalance(std::int64_t seconds) {
    constexpr std::int64_t kMax = 999 * 3600 + 59 * 60 + 59;
    seconds = std::clamp<std::int64_t>(seconds, 0, kMax);
    const auto hours = static_cast<std::int32_t>(seconds / 3600);
    const auto minutes = static_cast<std::int32_t>(seconds / 60 % 60);
    const auto secs = static_cast<std::int32_t>(seconds % 60);
    return ZeroPadded(hours, 3) + ":" + ZeroPadded(minutes, 2) + ":" + ZeroPadded(secs, 2);
}

bool IsBalanceText(std::string_view text) {
    if (text.size() != 9 || text[3] != ':' || text[6] != ':') {
        return false;
    }
    for (const std::size_t i : {0u, 1u, 2u, 4u, 5u, 7u, 8u}) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return text[4] <= '5' && text[7] <= '5';
}

std::optional<bool> ReadSwitch(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t == "On") {
        return true;
    }
    if (t == "Off") {
        return false;
    }
    return std::nullopt;
}

const char* SwitchText(bool on) {
    return on ? "On" : "Off";
}

std::int32_t ReadPosition(std::string_view line, std::int32_t defaultValue) {
    if (Trim(line) == "-1") {
        return defaultValue;
    }
    return StrToInt(line);
}

std::int32_t TimeTextToSeconds(std::string_view text) {
    const std::string_view hoursText = Field(text, 1, 2);
    const std::string_view minutesText = Field(text, 4, 2);
    const auto digitsOnly = [](std::string_view s) {
        return s.size() == 2 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digitsOnly(hoursText)) {
        throw ConvertError(hoursText);
    }
    if (!digitsOnly(minutesText)) {
        throw ConvertError(minutesText);
    }
    const std::int32_t hours = StrToInt(hoursText);
    const std::int32_t minutes = StrToInt(minutesText);
    if (hours > 23 || minutes > 59) {
        throw ConvertError(text);
    }
    return hours * 3600 + minutes * 60;
}

}  // namespace surftally
