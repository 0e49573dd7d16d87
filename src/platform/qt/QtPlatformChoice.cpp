#include "platform/qt/QtPlatformChoice.h"

#include <cstdlib>

namespace surftally {

std::optional<std::string> PreferredQtPlatform(
    const std::function<std::optional<std::string>(const char*)>& lookup) {
    const auto set = [&lookup](const char* name) {
        const auto value = lookup(name);
        return value.has_value() && !value->empty();
    };
    if (set("QT_QPA_PLATFORM") || !set("WAYLAND_DISPLAY")) {
        return std::nullopt;
    }
    return set("DISPLAY") ? "xcb" : "wayland";
}

void ChooseQtPlatform() {
    const auto platform = PreferredQtPlatform([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    });
    if (platform.has_value()) {
        setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
    }
}

}  // namespace surftally
