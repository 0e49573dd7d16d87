#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/TTrayIcon.h"

namespace surftally {

// Records what the icon's handlers hear: "Click", "DblClick", and "Down" and "Up" with the
// button's number.
inline void RecordButtons(TTrayIcon& icon, std::vector<std::string>& events) {
    icon.OnClick = [&events](TTrayIcon*) { events.push_back("Click"); };
    icon.OnDblClick = [&events](TTrayIcon*) { events.push_back("DblClick"); };
    icon.OnMouseDown = [&events](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
        events.push_back("Down" + std::to_string(static_cast<int>(b)));
    };
    icon.OnMouseUp = [&events](TTrayIcon*, TMouseButton b, TShiftState, int, int) {
        events.push_back("Up" + std::to_string(static_cast<int>(b)));
    };
}

// A handler for the errors a shell's message procedure hands on: keeps the error's text.
inline std::function<void(std::exception_ptr)> KeepErrorText(std::string& text) {
    return [&text](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            text = e.what();
        }
    };
}

}  // namespace surftally
