#include "WinIconImage.h"

#include <stdexcept>
#include <string>

#include <windows.h>

namespace surftally {

WinIconImage::~WinIconImage() {
    if (owned_ && icon_ != 0) {
        ::DestroyIcon(reinterpret_cast<HICON>(icon_));
    }
}

std::shared_ptr<const WinIconImage> LoadIconFile(const std::filesystem::path& file, int size) {
    const HANDLE icon =
        ::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE);
    if (icon == nullptr) {
        const std::u8string name = file.u8string();
        throw std::runtime_error("Cannot open file " + std::string(name.begin(), name.end()));
    }
    return std::make_shared<WinIconImage>(reinterpret_cast<std::uintptr_t>(icon), true);
}

}  // namespace surftally
