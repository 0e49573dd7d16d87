#include "ui/win32/Timer.h"

#include "ui/win32/Toolkit.h"

namespace surftally {

Win32Timer::Win32Timer(Win32Toolkit& toolkit, TTimer& timer)
    : toolkit_(toolkit), id_(toolkit.addTimer(timer)) {}

Win32Timer::~Win32Timer() {
    stop();
    toolkit_.removeTimer(id_);
}

void Win32Timer::start(int intervalMs) {
    ::SetTimer(toolkit_.timerWindow(), id_, static_cast<UINT>(intervalMs), nullptr);
}

void Win32Timer::stop() {
    ::KillTimer(toolkit_.timerWindow(), id_);
}

}  // namespace surftally
