#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounting/Colours.h"
#include "forms/Toolkit.h"

namespace surftally {

class TApplication;

// Text that arrives in a field in one piece, without the blanks and line ends around it that
// a copied text often carries.
std::string PastedPiece(const std::string& text);

// The grey of dialogs and group captions.
constexpr Colour clSilver = 0xC0C0C0;
// A dialog's face and a field's background, fixed rather than taken from the desktop's theme:
// the texts on them have fixed colours and must stay readable under a dark theme.
constexpr Colour clBtnFace = clSilver;
constexpr Colour clWindow = clWhite;

enum class ControlKind {
    Window,
    Label,
    Image,
    CheckBox,
    Button,
    GroupBox,
    Memo,
    MaskEdit,
    SpinEdit,
    PaintBox
};
enum class TAlignment { Left, Center, Right };
enum class TCursor { Default, HandPoint };

struct TFont {
    // Preferred first; a toolkit that has none of them takes a sans-serif of the same size.
    std::vector<std::string> Families;
    int PixelSize = 11;
    bool Bold = false;
    Colour Color = clBlack;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// A control of one of the three windows: its properties by design name, the events the
// windows handle, and the user...() calls through which a toolkit forwards input. Setting a
// property to the value it has tells the peer nothing.
class TControl {
public:
    TControl(TApplication& application, TControl* parent, ControlKind kind, std::string name);
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TApplication& Application() const { return application_; }
    TControl* Parent() const { return parent_; }
    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    ControlPeer* Peer() const { return peer_.get(); }

    const TRect& Bounds() const { return bounds_; }
    void setBounds(const TRect& bounds);
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width; }
    int Height() const { return bounds_.Height; }
    void setLeft(int left) { setBounds({left, bounds_.Top, bounds_.Width, bounds_.Height}); }
    void setTop(int top) { setBounds({bounds_.Left, top, bounds_.Width, bounds_.Height}); }
    void setHeight(int height) { setBounds({bounds_.Left, bounds_.Top, bounds_.Width, height}); }

    bool Visible() const { return visible_; }
    virtual void setVisible(bool visible);

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& caption);

    const TFont& Font() const { return font_; }
    void setFont(const TFont& font);
    void setFontColor(Colour colour);

    // The background; drawn only by an opaque control.
    Colour Color() const { return color_; }
    bool Opaque() const { return opaque_; }
    void setColor(Colour colour);
    void setOpaque(bool opaque);

    const std::string& Hint() const { return hint_; }
    void setHint(const std::string& hint);

    // What a screen reader announces: the name set here, else the caption of the label that
    // names the control (TLabel::setFocusControl); and a longer description.
    std::string AccessibleName() const;
    const std::string& AccessibleDescription() const { return description_; }
    void setAccessibleName(const std::string& name);
    void setAccessibleDescription(const std::string& description);
    // The label that names this control, or null.
    const TControl* LabelledBy() const { return labelledBy_; }

    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment alignment);
    TCursor Cursor() const { return cursor_; }
    void setCursor(TCursor cursor);

    std::function<void()> OnClick;
    std::function<void()> OnMouseMove;
    std::function<void()> OnMouseLeave;

    // Input forwarded by the toolkit.
    void userClick() { fire(OnClick); }
    void userMouseMove() { fire(OnMouseMove); }
    void userMouseLeave() { fire(OnMouseLeave); }

protected:
    // Creates the peer and tells it every property; called once the control is whole.
    friend class TForm;
    void attach(std::unique_ptr<ControlPeer> peer);
    void notify(Property property);
    // Runs a handler through the error guard.
    void fire(const std::function<void()>& handler);
    virtual void notifyAll();
    // This label names control (its caption is the control's accessible name).
    void name(TControl& control);

private:
    TApplication& application_;
    TControl* parent_;
    ControlKind kind_;
    std::string name_;
    std::unique_ptr<ControlPeer> peer_;

    TRect bounds_;
    bool visible_ = true;
    std::string caption_;
    TFont font_;
    Colour color_ = clSilver;
    bool opaque_ = false;
    std::string hint_;
    TAlignment alignment_ = TAlignment::Left;
    TCursor cursor_ = TCursor::Default;
    std::string accessibleName_;
    std::string description_;
    const TControl* labelledBy_ = nullptr;
    TControl* names_ = nullptr;
};

// A control of a kind that is given its caption at creation.
template <ControlKind K>
class TCaptioned : public TControl {
public:
    TCaptioned(TApplication& application, TControl* parent, std::string name,
               const std::string& caption)
        : TControl(application, parent, K, std::move(name)) {
        setCaption(caption);
    }
};

}  // namespace surftally
