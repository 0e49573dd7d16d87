#include "QtToolkit.h"

#include <QApplication>
#include <QScreen>

#include "QtButtonPeer.h"
#include "QtCheckBoxPeer.h"
#include "QtGroupBoxPeer.h"
#include "QtImagePeer.h"
#include "QtLabelPeer.h"
#include "QtMaskEditPeer.h"
#include "QtMemoPeer.h"
#include "QtMessageBoxPeer.h"
#include "QtSpinEditPeer.h"
#include "QtTimerPeer.h"
#include "QtWindowPeer.h"

namespace surftally {

std::unique_ptr<WindowPeer> QtToolkit::createWindow(TForm& form) {
    return std::make_unique<QtWindowPeer>(form);
}

std::unique_ptr<ControlPeer> QtToolkit::createControl(TControl& control) {
    switch (control.Kind()) {
        case ControlKind::Label:
            return std::make_unique<QtLabelPeer>(control);
        case ControlKind::Image:
            return std::make_unique<QtKindPeer>(control, QtImagePeer);
        case ControlKind::CheckBox:
            return std::make_unique<QtKindPeer>(control, QtCheckBoxPeer);
        case ControlKind::Button:
            return std::make_unique<QtKindPeer>(control, QtButtonPeer);
        case ControlKind::GroupBox:
            return std::make_unique<QtKindPeer>(control, QtGroupBoxPeer);
        case ControlKind::Memo:
            return std::make_unique<QtKindPeer>(control, QtMemoPeer);
        case ControlKind::MaskEdit:
            return std::make_unique<QtMaskEditPeer>(control);
        case ControlKind::SpinEdit:
            return std::make_unique<QtSpinEditPeer>(control);
        case ControlKind::Window:
            break;
    }
    return nullptr;
}

std::unique_ptr<TimerPeer> QtToolkit::createTimer(TTimer& timer) {
    return std::make_unique<QtTimerPeer>(timer);
}

std::unique_ptr<MessageBoxPeer> QtToolkit::createMessageBox(std::function<void()> closed) {
    return std::make_unique<QtMessageBoxPeer>(std::move(closed));
}

TSize QtToolkit::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {1024, 768};
    }
    return {screen->geometry().width(), screen->geometry().height()};
}

void QtToolkit::beep() {
    QApplication::beep();
}

void QtToolkit::quit() {
    QApplication::quit();
}

}  // namespace surftally
