#include <gtest/gtest.h>

#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <cwctype>

#include <string>
#include <vector>

// This program carries the Windows program's resources (the same object the program links):
// what they give a process is checked here, under the system that reads them.

namespace {

std::wstring ownPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path;
}

std::wstring versionString(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        return {};
    }
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueW(data.data(), key.c_str(), &value, &length) || length == 0) {
        return {};
    }
    return static_cast<const wchar_t*>(value);
}

}  // namespace

TEST(Resources, ManifestBringsCommonControlsSix) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&init));
    const HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    // Version 6 is the side-by-side assembly that only a manifest brings in (Wine's copy of
    // it reports 5.81 from DllGetVersion, so the file is what tells).
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetModuleFileNameW(comctl, path.data(), MAX_PATH));
    for (wchar_t& c : path) {
        c = static_cast<wchar_t>(::towlower(c));
    }
    EXPECT_NE(path.find(L"\\winsxs\\"), std::wstring::npos) << path.c_str();
    EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::wstring::npos)
        << "not common controls 6";
}

TEST(Resources, ManifestMakesTheProcessPerMonitorDpiAware) {
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    const auto getContext = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    const auto getAwareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_NE(getContext, nullptr);
    ASSERT_NE(getAwareness, nullptr);
    EXPECT_EQ(getAwareness(getContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST(Resources, CarriesTheProgramIconAndVersion) {
    const HANDLE icon =
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(icon, nullptr);
    ::DestroyIcon(static_cast<HICON>(icon));

    const std::wstring path = ownPath();
    EXPECT_EQ(versionString(path, L"ProductName"), L"Surftally");
    EXPECT_EQ(versionString(path, L"ProductVersion"), SURFTALLY_VERSION);
    EXPECT_EQ(versionString(path, L"OriginalFilename"), L"surftally.exe");
}
