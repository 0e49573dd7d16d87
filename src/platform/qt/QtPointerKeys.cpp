#include "QtPointerKeys.h"

#include <QCursor>
#include <QGuiApplication>

namespace surftally {

ScreenPoint QtCursorPos() {
    const QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

bool QtKeyDown(VirtualKey key) {
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    switch (key) {
        case VirtualKey::Shift:
            return keys.testFlag(Qt::ShiftModifier);
        case VirtualKey::Control:
            return keys.testFlag(Qt::ControlModifier);
        case VirtualKey::Menu:
            return keys.testFlag(Qt::AltModifier);
    }
    return false;
}

}  // namespace surftally
