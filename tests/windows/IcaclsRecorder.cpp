// A stand-in for icacls.exe in a Wine prefix (Wine does not enforce rights): appends its
// command line, as UTF-8, to icacls.log beside itself, and succeeds.
#include <windows.h>

#include <string>

int wmain() {
    std::wstring log(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, log.data(), MAX_PATH);
    log.resize(length);
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"icacls.log";
    const wchar_t* line = ::GetCommandLineW();
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), bytes, nullptr, nullptr);
    text += "\n";
    const HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 1;
}
