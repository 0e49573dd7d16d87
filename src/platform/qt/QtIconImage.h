#pragma once

#include <QIcon>

#include <cstdint>
#include <string>

#include "platform/TIcon.h"

namespace surftally {

// A picture held as a QIcon. Its handle is a small id, unique for the life of the process,
// by which the Qt shell finds the picture again while the image lives.
class QtIconImage : public IconImage {
public:
    explicit QtIconImage(QIcon icon);
    ~QtIconImage() override;
    QtIconImage(const QtIconImage&) = delete;
    QtIconImage& operator=(const QtIconImage&) = delete;

    std::uintptr_t handle() const override { return handle_; }
    const QIcon& icon() const { return icon_; }

    // The picture of a live image with that handle; a null QIcon when there is none.
    static QIcon find(std::uintptr_t handle);

private:
    QIcon icon_;
    std::uintptr_t handle_;
};

// Loads an .ico file (every size it holds) into `target`. Throws
// std::runtime_error("Cannot open file " + path) when the file cannot be read as an icon;
// `target` is then left as it was.
void loadIconFile(TIcon& target, const std::string& path);

// The QIcon of an icon object; a null QIcon when it holds no Qt picture.
QIcon toQIcon(const TIcon& icon);

}  // namespace surftally
