#pragma once

#include <cstdint>
#include <memory>

namespace surftally {

// A loaded icon picture, owned by the platform that loaded it (a Windows HICON, a QIcon).
class IconImage {
public:
    virtual ~IconImage() = default;
    // The handle that goes into the notification record.
    virtual std::uintptr_t handle() const = 0;
};

// An icon object: holds a picture that can be copied from another icon object.
class TIcon {
public:
    TIcon() = default;
    explicit TIcon(std::shared_ptr<const IconImage> image) : image_(std::move(image)) {}

    // Copies the other object's picture; afterwards both show the same image.
    void Assign(const TIcon& other) { image_ = other.image_; }
    void setImage(std::shared_ptr<const IconImage> image) { image_ = std::move(image); }

    const std::shared_ptr<const IconImage>& image() const { return image_; }
    std::uintptr_t Handle() const { return image_ ? image_->handle() : 0; }

private:
    std::shared_ptr<const IconImage> image_;
};

}  // namespace surftally
