#include "forms/TControl.h"

#include "forms/TApplication.h"

namespace surftally {

std::string PastedPiece(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

TControl::TControl(TApplication& application, TControl* parent, ControlKind kind, std::string name)
    : application_(application), parent_(parent), kind_(kind), name_(std::move(name)) {}

TControl::~TControl() = default;

void TControl::attach(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
    notifyAll();
}

void TControl::notifyAll() {
    for (Property p :
         {Property::Font, Property::Colour, Property::Caption, Property::Hint, Property::Alignment,
          Property::Cursor, Property::Bounds, Property::Visible, Property::Accessible}) {
        notify(p);
    }
}

void TControl::notify(Property property) {
    if (peer_ != nullptr) {
        peer_->changed(property);
    }
}

void TControl::fire(const std::function<void()>& handler) {
    if (handler) {
        application_.Guarded(handler);
    }
}

void TControl::setBounds(const TRect& bounds) {
    if (bounds.Left != bounds_.Left || bounds.Top != bounds_.Top || bounds.Width != bounds_.Width ||
        bounds.Height != bounds_.Height) {
        bounds_ = bounds;
        notify(Property::Bounds);
    }
}

void TControl::setVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        notify(Property::Visible);
    }
}

void TControl::setCaption(const std::string& caption) {
    if (caption != caption_) {
        caption_ = caption;
        notify(Property::Caption);
        if (names_ != nullptr) {
            names_->notify(Property::Accessible);
        }
    }
}

void TControl::setFont(const TFont& font) {
    font_ = font;
    notify(Property::Font);
}

void TControl::setFontColor(Colour colour) {
    if (colour != font_.Color) {
        font_.Color = colour;
        notify(Property::Font);
    }
}

void TControl::setColor(Colour colour) {
    if (colour != color_) {
        color_ = colour;
        notify(Property::Colour);
    }
}

void TControl::setOpaque(bool opaque) {
    if (opaque != opaque_) {
        opaque_ = opaque;
        notify(Property::Colour);
    }
}

void TControl::setAlignment(TAlignment alignment) {
    if (alignment != alignment_) {
        alignment_ = alignment;
        notify(Property::Alignment);
    }
}

void TControl::setCursor(TCursor cursor) {
    if (cursor != cursor_) {
        cursor_ = cursor;
        notify(Property::Cursor);
    }
}

void TControl::setHint(const std::string& hint) {
    if (hint != hint_) {
        hint_ = hint;
        notify(Property::Hint);
    }
}

std::string TControl::AccessibleName() const {
    if (!accessibleName_.empty() || labelledBy_ == nullptr) {
        return accessibleName_;
    }
    return PastedPiece(labelledBy_->Caption());
}

void TControl::setAccessibleName(const std::string& name) {
    if (name != accessibleName_) {
        accessibleName_ = name;
        notify(Property::Accessible);
    }
}

void TControl::setAccessibleDescription(const std::string& description) {
    if (description != description_) {
        description_ = description;
        notify(Property::Accessible);
    }
}

void TControl::name(TControl& control) {
    if (names_ != nullptr) {
        names_->labelledBy_ = nullptr;
        names_->notify(Property::Accessible);
    }
    names_ = &control;
    control.labelledBy_ = this;
    control.notify(Property::Accessible);
}

}  // namespace surftally
