#pragma once

#include <windows.h>

#include "forms/TTimer.h"
#include "forms/Toolkit.h"

namespace surftally {

class Win32Toolkit;

// A timer of the toolkit's message window (SetTimer), firing on the user interface thread.
class Win32Timer final : public TimerPeer {
public:
    Win32Timer(Win32Toolkit& toolkit, TTimer& timer);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void start(int intervalMs) override;
    void stop() override;

private:
    Win32Toolkit& toolkit_;
    UINT_PTR id_;
};

}  // namespace surftally
