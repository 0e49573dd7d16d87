#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/TControl.h"

namespace surftally {

// What a shape is drawn in; each toolkit takes the colour from its desktop palette, so that a
// dark theme keeps the drawing legible.
enum class ShapeRole {
    Background,  // the drawing's own ground (a text field's background)
    Axis,        // lines and marks (a text field's text colour)
    Text,        // the same colour as the axis
    Online,      // a lighter tint of the selection colour
    Charged,     // the selection colour itself
};

// One plain shape in the paint box's pixels. A box fills rect; a line runs from rect's
// top-left corner to (Left + Width, Top + Height), one pixel wide times the scale; a text is
// drawn on one line in rect, aligned as given and vertically centred, in a sans-serif face
// of PixelSize pixels.
struct Shape {
    enum class Kind { Box, Line, Text };
    Kind kind = Kind::Box;
    ShapeRole role = ShapeRole::Axis;
    TRect rect;
    std::string text;
    TAlignment alignment = TAlignment::Left;
    int pixelSize = 0;
    int lineWidth = 1;
};

// A control whose picture is a list of shapes the window computes. The toolkit asks for them
// whenever it paints, with the box's size in its own pixels and the scale of those pixels to
// the design's (2 on a screen scaled to twice the size), and draws them in order and nothing
// else.
class TPaintBox : public TControl {
public:
    using Painter = std::function<std::vector<Shape>(TSize size, double scale)>;

    TPaintBox(TApplication& application, TControl* parent, std::string name)
        : TControl(application, parent, ControlKind::PaintBox, std::move(name)) {}

    std::vector<Shape> Paint(TSize size, double scale) const {
        return OnPaint ? OnPaint(size, scale) : std::vector<Shape>{};
    }
    // The picture has changed: the toolkit paints it again.
    void Invalidate() { notify(Property::Picture); }

    Painter OnPaint;
};

}  // namespace surftally
