#include "ui/qt/Control.h"

#include <QLineEdit>

#include "platform/qt/QtTipText.h"
#include "ui/qt/StripDrawing.h"

namespace surftally {

namespace {

constexpr const char* kControlProperty = "surftallyControl";

}  // namespace

QtControl::QtControl(TControl& control, QWidget* widget) : control_(control), widget_(widget) {
    widget->setObjectName(QString::fromStdString(control.Name()));
    widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(&control)));
}

TControl* QtControl::controlOf(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const QVariant v = widget->property(kControlProperty); v.isValid()) {
            return static_cast<TControl*>(v.value<void*>());
        }
    }
    return nullptr;
}

QtControl::~QtControl() {
    delete widget_.data();
}

QWidget* QtControl::parentWidget(const TControl& control) {
    if (control.Parent() == nullptr) {
        return nullptr;
    }
    auto* peer = dynamic_cast<QtControl*>(control.Parent()->Peer());
    return peer != nullptr ? peer->widget() : nullptr;
}

QFont QtControl::toQFont(const TFont& font) {
    QFont qfont;
    QStringList families;
    for (const std::string& family : font.Families) {
        families << QString::fromStdString(family);
    }
    families << QStringLiteral("DejaVu Sans");
    qfont.setFamilies(families);
    qfont.setStyleHint(QFont::SansSerif);
    qfont.setPixelSize(font.PixelSize);
    qfont.setBold(font.Bold);
    return qfont;
}

void QtControl::changed(Property property) {
    if (widget_ == nullptr) {
        return;
    }
    switch (property) {
        case Property::Bounds: {
            const TRect& b = control_.Bounds();
            widget_->setGeometry(b.Left, b.Top, b.Width, b.Height);
            break;
        }
        case Property::Visible:
            widget_->setVisible(control_.Visible());
            break;
        case Property::Font:
            applyFont();
            break;
        case Property::Colour:
            applyColour();
            break;
        case Property::Hint:
            widget_->setToolTip(ToolTipOf(QString::fromStdString(control_.Hint())));
            break;
        case Property::Accessible:
            widget_->setAccessibleName(QString::fromStdString(control_.AccessibleName()));
            widget_->setAccessibleDescription(
                QString::fromStdString(control_.AccessibleDescription()));
            break;
        case Property::Cursor:
            widget_->setCursor(control_.Cursor() == TCursor::HandPoint ? Qt::PointingHandCursor
                                                                       : Qt::ArrowCursor);
            break;
        default:
            apply(property);
            break;
    }
}

void QtControl::apply(Property) {}

void QtControl::applyFont() {
    applyCommonFont(control_, widget_);
}

void QtControl::applyCommonFont(const TControl& control, QWidget* widget) {
    widget->setFont(toQFont(control.Font()));
    QPalette palette = widget->palette();
    const QColor colour = QtStripDrawing::toQColor(control.Font().Color);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void QtControl::applyColour() {
    if (!control_.Opaque()) {
        return;
    }
    // The window's face, a field's or a memo's ground and a button's face alike: the theme's
    // own would put the control's fixed text colour on a ground it was not chosen for.
    const QColor colour = QtStripDrawing::toQColor(control_.Color());
    QPalette palette = widget_->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, colour);
    }
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
    // A spin box's editor takes a theme's palette for line edits rather than its box's.
    for (QLineEdit* editor : widget_->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        QPalette own = editor->palette();
        own.setColor(QPalette::Base, colour);
        own.setColor(QPalette::Text, palette.color(QPalette::Text));
        editor->setPalette(own);
    }
}

void QtControl::takeFocus() {
    if (widget_ != nullptr) {
        widget_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace surftally
