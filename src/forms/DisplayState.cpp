#include "forms/DisplayState.h"

#include "forms/Texts.h"

namespace surftally {

std::string DisplayStateText(Colour background, Colour text, const std::string& connection,
                             bool serbian) {
    const TextPair* state = &Texts::BalanceState;
    if (background == clBlack) {
        state = &Texts::ClockState;
    } else if (background == clRed) {
        state = &Texts::LowBalanceState;
    } else if (background == clWhite && text == clBlue) {
        state = &Texts::FrozenState;
    }
    std::string words = state->pick(serbian);
    if (!connection.empty()) {
        words += ", " + connection;
    }
    return words;
}

}  // namespace surftally
