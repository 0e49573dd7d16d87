#pragma once

#include <string>

#include "forms/TControl.h"

namespace surftally {

// The display strip's own look: the grey frame, and inside it a text in the display's font
// on a background. The toolkits draw it with the same code as the strip.
struct DisplayPicture {
    std::string Text;  // empty: the frame around black
    Colour Background = clBlack;
    Colour TextColour = clYellow;
};

class TImage : public TControl {
public:
    TImage(TApplication& application, TControl* parent, std::string name, DisplayPicture picture)
        : TControl(application, parent, ControlKind::Image, std::move(name)),
          picture_(std::move(picture)) {}

    const DisplayPicture& Picture() const { return picture_; }

private:
    void notifyAll() override {
        TControl::notifyAll();
        notify(Property::Picture);
    }

    DisplayPicture picture_;
};

}  // namespace surftally
