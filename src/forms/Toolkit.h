#pragma once

#include <functional>
#include <memory>
#include <string>

namespace surftally {

class TControl;
class TForm;
class TTimer;

struct TSize {
    int Width = 0;
    int Height = 0;
};

// What a control tells its peer has changed. The peer reads the new value from the control
// and draws it; it never decides anything itself.
enum class Property {
    Caption,  // a label's, button's, box's or window's text; an edit's text
    Bounds,   // left, top, width, height (a window's: its client area on the screen)
    Visible,
    Font,    // families, pixel size, bold, text colour
    Colour,  // background
    Hint,
    Alignment,  // of a label's text
    Cursor,     // the pointer's shape over the control
    Checked,
    CaretPos,    // where the caret stands in an edit
    Lines,       // a memo's text
    Picture,     // an image's or a paint box's picture
    Range,       // a spin edit's minimum and maximum
    Accessible,  // the name and description a screen reader announces
};

// Keys a text control takes from the toolkit besides typed characters. Enter and Escape,
// pressed anywhere in a window, go to the window (TForm::userKey), which decides.
enum class TKey { Backspace, Delete, Left, Right, Home, End, Escape, Up, Down, Enter };

// How the focus came into a field: from the keyboard (Tab, Shift+Tab, a mnemonic), by the
// pointer (the toolkit then reports the click's caret), or otherwise.
enum class FocusEntry { Keyboard, Pointer, Other };

// How the focus left a control: to another control of the same window, or because another
// window was activated (a message box, another program).
enum class FocusChange { WithinWindow, WindowSwitch };

// A control's drawing on one toolkit. Input comes back to the control through its user...()
// calls.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void changed(Property property) = 0;
    // Takes the keyboard focus (a refused leave puts it back into the field).
    virtual void takeFocus() {}
};

class WindowPeer : public ControlPeer {
public:
    // Above every other window; neither moved, sized nor activated.
    virtual void makeTopmost() = 0;
    // Brought to the front with the keyboard focus.
    virtual void activate() = 0;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Fires TTimer::userTimer() every interval until stopped.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// The error report's box: not modal, one at a time. The peer calls the closed handler
// whenever the box closes, by the user or by close().
class MessageBoxPeer {
public:
    virtual ~MessageBoxPeer() = default;
    virtual void show(const std::string& title, const std::string& text) = 0;
    virtual void close() = 0;
};

// One window toolkit: Qt on Linux, Win32 on Windows, a fake in tests.
class Toolkit {
public:
    virtual ~Toolkit() = default;

    // A window whose Enter and Escape keys, default button and title-bar button do nothing by
    // themselves: Enter and Escape pressed anywhere in it go to TForm::userKey() with the
    // control that has the focus, the close button calls TForm::userClose().
    virtual std::unique_ptr<WindowPeer> createWindow(TForm& form) = 0;
    // The control's kind and parent are known when this is called; its other properties
    // follow as changed() calls.
    virtual std::unique_ptr<ControlPeer> createControl(TControl& control) = 0;
    virtual std::unique_ptr<TimerPeer> createTimer(TTimer& timer) = 0;
    virtual std::unique_ptr<MessageBoxPeer> createMessageBox(std::function<void()> closed) = 0;

    virtual TSize screenSize() const = 0;
    virtual void beep() = 0;
    // Ends the message loop.
    virtual void quit() = 0;
};

}  // namespace surftally
