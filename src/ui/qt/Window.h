#pragma once

#include "forms/TForm.h"
#include "ui/qt/Control.h"

namespace surftally {

class X11StripWindow;

// A window: the strip as a frameless, always-on-top tool window, a dialog as a fixed-size
// window with a title bar and its close button. The close button, Enter and Escape do
// nothing here: the close button is handed to the form, and so are Enter and Escape pressed
// anywhere in the window, with the control that has the focus.
class QtWindow : public QtControl, public WindowPeer {
public:
    explicit QtWindow(TForm& form);

    void changed(Property property) override;
    void takeFocus() override { QtControl::takeFocus(); }
    void makeTopmost() override;
    void activate() override;

protected:
    void apply(Property property) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm& form_;
    X11StripWindow* strip_ = nullptr;  // the strip on X11
};

}  // namespace surftally
