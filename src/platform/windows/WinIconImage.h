#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/TIcon.h"

namespace surftally {

// A Windows icon (HICON) as the notification record and the windows take it.
class WinIconImage final : public IconImage {
public:
    // `owned`: the image destroys the icon with itself (a loaded icon); a shared system icon
    // is not owned.
    WinIconImage(std::uintptr_t icon, bool owned) : icon_(icon), owned_(owned) {}
    ~WinIconImage() override;
    WinIconImage(const WinIconImage&) = delete;
    WinIconImage& operator=(const WinIconImage&) = delete;

    std::uintptr_t handle() const override { return icon_; }

private:
    std::uintptr_t icon_;
    bool owned_;
};

// The size of the notification area's pictures and of a window's small icon, in pixels: the
// small-icon size at the system's DPI (16 at 96 DPI, 24 at 144), which the notification area
// is drawn at.
int SmallIconSize();

// Loads the picture of the given size in pixels from an .ico file (LoadImage with
// LR_LOADFROMFILE). Raises std::runtime_error("Cannot open file " + path) when the file is
// missing or is no icon.
std::shared_ptr<const WinIconImage> LoadIconFile(const std::filesystem::path& file, int size);

}  // namespace surftally
