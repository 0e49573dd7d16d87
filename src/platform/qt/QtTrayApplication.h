#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/TIcon.h"
#include "platform/TrayApplication.h"

namespace surftally {

// The application object as the notification icon sees it: the program's icon and title, a
// given top-level widget as the application's own window, and that widget's minimise and
// restore.
class QtTrayApplication : public QObject, public TrayApplication {
    Q_OBJECT
public:
    // `window` may be null and set later; the application does not own it.
    explicit QtTrayApplication(QWidget* window = nullptr, QObject* parent = nullptr);
    ~QtTrayApplication() override;

    void setWindow(QWidget* window);
    QWidget* window() const { return window_; }

    // The application icon: starts as QApplication's window icon.
    const TIcon& Icon() const override { return icon_; }
    // Loads an .ico file into the application icon and makes it the window icon as well.
    // Throws std::runtime_error("Cannot open file " + path), leaving the icon as it was. A
    // file unchanged since it was last loaded gives the same picture again.
    void loadIcon(const std::string& path);

    // QGuiApplication::applicationDisplayName().
    std::string Title() const override;

    bool IsWindowVisible() const override;
    void ShowWindow(bool restore) override;

    void setOnMinimize(std::function<void()> handler) override { onMinimize_ = std::move(handler); }
    void setOnRestore(std::function<void()> handler) override { onRestore_ = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notify(bool restored);

    // A picture loaded from a file, with the file's time and size when it was read.
    struct LoadedIcon {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        std::shared_ptr<const IconImage> image;
    };

    QPointer<QWidget> window_;
    TIcon icon_;
    std::map<std::string, LoadedIcon> loaded_;
    std::function<void()> onMinimize_;
    std::function<void()> onRestore_;
};

}  // namespace surftally
