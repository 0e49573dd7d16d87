#include "platform/qt/QtIconImage.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QString>

#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace surftally {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::uintptr_t, const QtIconImage*> images;
    std::uintptr_t next = 1;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

QtIconImage::QtIconImage(QIcon icon) : icon_(std::move(icon)) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    handle_ = r.next++;
    r.images[handle_] = this;
}

QtIconImage::~QtIconImage() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.images.erase(handle_);
}

QIcon QtIconImage::find(std::uintptr_t handle) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.images.find(handle);
    return it == r.images.end() ? QIcon() : it->second->icon();
}

void loadIconFile(TIcon& target, const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    QIcon icon;
    // An .ico file holds one picture per size; each becomes a size of the icon.
    do {
        const QImage image = reader.read();
        if (image.isNull()) {
            break;
        }
        icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    if (icon.isNull()) {
        throw std::runtime_error("Cannot open file " + path);
    }
    target.setImage(std::make_shared<QtIconImage>(std::move(icon)));
}

QIcon toQIcon(const TIcon& icon) {
    const auto* image = dynamic_cast<const QtIconImage*>(icon.image().get());
    return image != nullptr ? image->icon() : QIcon();
}

}  // namespace surftally
