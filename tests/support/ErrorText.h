#pragma once

#include <functional>
#include <string>

// The text of the Error that `f` throws, or "no error" when it throws none (another kind of
// exception goes on to the test).
template <class Error>
std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}
