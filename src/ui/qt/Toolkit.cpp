#include "ui/qt/Toolkit.h"

#include <QApplication>
#include <QScreen>

#include "ui/qt/Button.h"
#include "ui/qt/CheckBox.h"
#include "ui/qt/GroupBox.h"
#include "ui/qt/Image.h"
#include "ui/qt/Label.h"
#include "ui/qt/MaskEdit.h"
#include "ui/qt/Memo.h"
#include "ui/qt/MessageBox.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/SpinEdit.h"
#include "ui/qt/Timer.h"
#include "ui/qt/Window.h"

namespace surftally {

std::unique_ptr<WindowPeer> QtToolkit::createWindow(TForm& form) {
    return std::make_unique<QtWindow>(form);
}

std::unique_ptr<ControlPeer> QtToolkit::createControl(TControl& control) {
    switch (control.Kind()) {
        case ControlKind::Label:
            return std::make_unique<QtLabel>(control);
        case ControlKind::Image:
            return std::make_unique<QtKindPeer>(control, QtImage);
        case ControlKind::CheckBox:
            return std::make_unique<QtKindPeer>(control, QtCheckBox);
        case ControlKind::Button:
            return std::make_unique<QtKindPeer>(control, QtButton);
        case ControlKind::GroupBox:
            return std::make_unique<QtKindPeer>(control, QtGroupBox);
        case ControlKind::Memo:
            return std::make_unique<QtKindPeer>(control, QtMemo);
        case ControlKind::MaskEdit:
            return std::make_unique<QtMaskEdit>(control);
        case ControlKind::SpinEdit:
            return std::make_unique<QtSpinEdit>(control);
        case ControlKind::PaintBox:
            return std::make_unique<QtKindPeer>(control, QtPaintBox);
        case ControlKind::Window:
            break;
    }
    return nullptr;
}

std::unique_ptr<TimerPeer> QtToolkit::createTimer(TTimer& timer) {
    return std::make_unique<QtTimer>(timer);
}

std::unique_ptr<MessageBoxPeer> QtToolkit::createMessageBox(std::function<void()> closed) {
    return std::make_unique<QtMessageBox>(std::move(closed));
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
