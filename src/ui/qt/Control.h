#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "forms/TControl.h"
#include "forms/Toolkit.h"

namespace surftally {

// A control drawn by a Qt widget. The common properties are applied here; each kind adds its
// own in apply(). The widget is found by the control's name as its object name.
class QtControl : public QObject, public ControlPeer {
public:
    QtControl(TControl& control, QWidget* widget);
    ~QtControl() override;

    QWidget* widget() const { return widget_; }
    TControl& control() const { return control_; }

    void changed(Property property) override;
    void takeFocus() override;

    // The control drawn by the widget or by the nearest of its parents that draws one.
    static TControl* controlOf(QWidget* widget);
    // The Qt widget of a control's parent, or null for a window.
    static QWidget* parentWidget(const TControl& control);
    static QFont toQFont(const TFont& font);
    // The control's font, and its text colour in every palette role text is drawn with.
    static void applyCommonFont(const TControl& control, QWidget* widget);

protected:
    virtual void apply(Property property);
    // The palette roles the control's text colour goes to.
    virtual void applyFont();
    void applyColour();

    TControl& control_;
    QPointer<QWidget> widget_;
};

// A kind of control that keeps no state of its own: the widget it is drawn by, the properties
// of its kind, and its font where the common one does not do. Each kind's file defines one.
struct QtKind {
    QWidget* (*create)(TControl& control, QWidget* parent);
    void (*apply)(TControl& control, QWidget* widget, Property property);
    void (*applyFont)(const TControl& control, QWidget* widget) = nullptr;
};

// The peer of a control of such a kind.
class QtKindPeer final : public QtControl {
public:
    QtKindPeer(TControl& control, const QtKind& kind)
        : QtControl(control, kind.create(control, parentWidget(control))), kind_(kind) {}

protected:
    void apply(Property property) override { kind_.apply(control_, widget(), property); }
    void applyFont() override {
        (kind_.applyFont != nullptr ? kind_.applyFont : applyCommonFont)(control_, widget());
    }

private:
    const QtKind& kind_;
};

}  // namespace surftally
