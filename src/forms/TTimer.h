#pragma once

#include <functional>
#include <memory>
#include <string>

#include "forms/Toolkit.h"

namespace surftally {

class TApplication;

// A timer of a window: OnTimer every Interval milliseconds while enabled, on the user
// interface thread.
class TTimer {
public:
    TTimer(TApplication& application, std::string name, int interval);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    const std::string& Name() const { return name_; }
    int Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> OnTimer;

    // The toolkit's timer fired.
    void userTimer();

private:
    TApplication& application_;
    std::string name_;
    int interval_;
    bool enabled_ = false;
    std::unique_ptr<TimerPeer> peer_;
};

}  // namespace surftally
