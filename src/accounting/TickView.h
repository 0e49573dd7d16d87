#pragma once

#include <string>

#include "accounting/Colours.h"

namespace surftally {

// The icon files of the three connection states.
enum class StateIcon { OffLine, Lan, Modem };

// What the balance tick reads of the windows and paints on them. The display window
// implements it; tests use a fake.
class TickView {
public:
    virtual ~TickView() = default;

    // The display label.
    virtual std::string displayText() const = 0;
    virtual void setDisplayText(const std::string& text) = 0;
    virtual Colour displayBackground() const = 0;
    virtual void setDisplayColours(Colour background, Colour text) = 0;

    // The status strip beneath the display.
    virtual std::string statusText() const = 0;
    virtual void setStatusText(const std::string& text) = 0;
    virtual void setStatusColours(Colour background, Colour text) = 0;

    // The settings dialog's Freeze box, and whether that dialog is hidden.
    virtual bool freezeChecked() const = 0;
    virtual bool settingsHidden() const = 0;
    // Whether the display window is visible.
    virtual bool windowVisible() const = 0;

    // Loads the state's icon file into the application icon and gives it to the notification
    // icon. Raises StoreError ("Cannot open file %s") when the file cannot be loaded.
    virtual void showIcon(StateIcon icon) = 0;

    // Puts the display window on top of every other window.
    virtual void makeTopmost() = 0;
    // Closes the display window, which ends the program.
    virtual void closeWindow() = 0;

    // Shows a failure's text to the user (one message box at a time).
    virtual void reportError(const std::string& text) = 0;
};

}  // namespace surftally
