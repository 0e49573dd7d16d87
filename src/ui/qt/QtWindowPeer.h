#pragma once

#include "QtControlPeer.h"
#include "TForm.h"

namespace surftally {

// A window: the strip as a frameless, always-on-top tool window, a dialog as a fixed-size
// window with a title bar and its close button. The close button, Enter and Escape do
// nothing here: the close button is handed to the form, and so are Enter and Escape pressed
// anywhere in the window, with the control that has the focus.
class QtWindowPeer : public QtControlPeer, public WindowPeer {
public:
    explicit QtWindowPeer(TForm& form);

    void changed(Property property) override;
    void takeFocus() override { QtControlPeer::takeFocus(); }
    void makeTopmost() override;
    void activate() override;

protected:
    void apply(Property property) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm& form_;
};

}  // namespace surftally
