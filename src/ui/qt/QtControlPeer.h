#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "TControl.h"
#include "Toolkit.h"

namespace surftally {

// A control drawn by a Qt widget. The common properties are applied here; each kind adds its
// own in apply(). The widget is found by the control's name as its object name.
class QtControlPeer : public QObject, public ControlPeer {
public:
    QtControlPeer(TControl& control, QWidget* widget);
    ~QtControlPeer() override;

    QWidget* widget() const { return widget_; }
    TControl& control() const { return control_; }

    void changed(Property property) override;
    void takeFocus() override;

    // The control drawn by the widget or by the nearest of its parents that draws one.
    static TControl* controlOf(QWidget* widget);
    // The Qt widget of a control's parent, or null for a window.
    static QWidget* parentWidget(const TControl& control);
    static QFont toQFont(const TFont& font);

protected:
    virtual void apply(Property property);
    // The palette roles the control's text colour goes to.
    virtual void applyFont();
    void applyColour();

    TControl& control_;
    QPointer<QWidget> widget_;
};

}  // namespace surftally
