#include "platform/qt/QtTrayApplication.h"

#include <QApplication>
#include <QEvent>
#include <QWindowStateChangeEvent>

#include <memory>

#include "platform/qt/QtIconImage.h"

namespace surftally {

QtTrayApplication::QtTrayApplication(QWidget* window, QObject* parent) : QObject(parent) {
    const QIcon programIcon = QApplication::windowIcon();
    if (!programIcon.isNull()) {
        icon_.setImage(std::make_shared<QtIconImage>(programIcon));
    }
    setWindow(window);
}

QtTrayApplication::~QtTrayApplication() {
    setWindow(nullptr);
}

void QtTrayApplication::setWindow(QWidget* window) {
    if (window_ != nullptr) {
        window_->removeEventFilter(this);
    }
    window_ = window;
    if (window_ != nullptr) {
        window_->installEventFilter(this);
    }
}

void QtTrayApplication::loadIcon(const std::string& path) {
    // The tick loads its state's icon every second. Reading an unchanged file anew would make
    // a new picture each time, and Qt's pixmap cache would keep a scaled copy of every one of
    // them until it is full: the same picture is given again instead. A file that went
    // missing still fails here, as the tick expects.
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    const std::uintmax_t size = ec ? 0 : std::filesystem::file_size(path, ec);
    if (const auto it = loaded_.find(path);
        !ec && it != loaded_.end() && it->second.time == time && it->second.size == size) {
        if (icon_.image() != it->second.image) {
            icon_.setImage(it->second.image);
            QApplication::setWindowIcon(toQIcon(icon_));
        }
        return;
    }
    TIcon fresh;
    loadIconFile(fresh, path);
    if (!ec) {
        loaded_[path] = LoadedIcon{time, size, fresh.image()};
    }
    icon_.setImage(fresh.image());
    QApplication::setWindowIcon(toQIcon(icon_));
}

std::string QtTrayApplication::Title() const {
    return QGuiApplication::applicationDisplayName().toStdString();
}

bool QtTrayApplication::IsWindowVisible() const {
    return window_ != nullptr && window_->isVisible();
}

void QtTrayApplication::ShowWindow(bool restore) {
    if (window_ == nullptr) {
        return;
    }
    if (restore) {
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
        window_->show();
    } else {
        window_->hide();
    }
}

bool QtTrayApplication::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool was = change->oldState().testFlag(Qt::WindowMinimized);
        const bool is = window_->windowState().testFlag(Qt::WindowMinimized);
        if (is != was) {
            notify(!is);
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtTrayApplication::notify(bool restored) {
    // Later, from the loop: the handler hides or shows the window, which is best not done
    // inside that window's own state change.
    QMetaObject::invokeMethod(
        this,
        [this, restored] {
            const auto& handler = restored ? onRestore_ : onMinimize_;
            if (handler) {
                const auto call = handler;
                call();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace surftally
