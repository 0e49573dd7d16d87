#include "ui/qt/Label.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace surftally {

QtLabel::QtLabel(TControl& control) : QtControl(control, new QLabel(parentWidget(control))) {
    // Stored text is shown as its characters, never as markup.
    label()->setTextFormat(Qt::PlainText);
    label()->setMouseTracking(true);
    label()->installEventFilter(this);
}

QLabel* QtLabel::label() const {
    return static_cast<QLabel*>(widget());
}

void QtLabel::apply(Property property) {
    if (property == Property::Caption) {
        label()->setText(QString::fromStdString(control_.Caption()));
    } else if (property == Property::Alignment) {
        label()->setAlignment(control_.Alignment() == TAlignment::Center
                                  ? Qt::AlignCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    }
}

bool QtLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget()) {
        return QtControl::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseMove:
            control_.userMouseMove();
            break;
        case QEvent::Leave:
            control_.userMouseLeave();
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                pressed_ = true;
            }
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && pressed_) {
                pressed_ = false;
                if (widget()->rect().contains(mouse->position().toPoint())) {
                    control_.userClick();
                }
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace surftally
