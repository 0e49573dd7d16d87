#include "platform/windows/WinIconImage.h"

#include <stdexcept>
#include <string>

#include <windows.h>

namespace surftally {

WinIconImage::~WinIconImage() {
    if (owned_ && icon_ != 0) {
        ::DestroyIcon(reinterpret_cast<HICON>(icon_));
    }
}

int SmallIconSize() {
    // Looked up at run time: older systems have neither call, and there the process runs at
    // the system's DPI, which GetSystemMetrics answers for.
    using GetDpiForSystem = UINT(WINAPI*)();
    using GetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    const auto dpi = reinterpret_cast<GetDpiForSystem>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetDpiForSystem")));
    const auto metric = reinterpret_cast<GetSystemMetricsForDpi>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetSystemMetricsForDpi")));
    if (dpi != nullptr && metric != nullptr) {
        if (const int size = metric(SM_CXSMICON, dpi()); size > 0) {
            return size;
        }
    }
    return ::GetSystemMetrics(SM_CXSMICON);
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
