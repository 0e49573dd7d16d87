#pragma once

#include "forms/Toolkit.h"

namespace surftally {

// The Qt Widgets toolkit of the three windows.
class QtToolkit : public Toolkit {
public:
    std::unique_ptr<WindowPeer> createWindow(TForm& form) override;
    std::unique_ptr<ControlPeer> createControl(TControl& control) override;
    std::unique_ptr<TimerPeer> createTimer(TTimer& timer) override;
    std::unique_ptr<MessageBoxPeer> createMessageBox(std::function<void()> closed) override;

    TSize screenSize() const override;
    void beep() override;
    void quit() override;
};

}  // namespace surftally
