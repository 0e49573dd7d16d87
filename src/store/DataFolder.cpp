#include "DataFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ReplaceFile.h"
#include "StoreErrors.h"

namespace surftally {

namespace {

// No stored value is longer than a few characters. A line longer than this is refused as it
// is read, so that a hostile file can neither make a reader hold megabytes nor be cut into a
// different value.
constexpr std::size_t kMaxLineLength = 4096;
// The most a reader holds of one line: the longest text, a byte-order mark and a CR.
constexpr std::size_t kHeldLength = kMaxLineLength + 4;

// A line over the limit is not a value of any kind: the conversion error quotes its start.
ConvertError overlongLine(std::string_view line) {
    return ConvertError(line.substr(0, kMaxLineLength));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The failure of the last C library call on a file. On Windows the number shown is the
// system's own (GetLastError, kept by the C library in _doserrno), as the rest of the
// system reports it; errno there is a translation that loses detail.
void clearFileError() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

InOutError fileError(int fallback) {
#ifdef _WIN32
    if (_doserrno != 0) {
        return InOutError::fromWin32(_doserrno);
    }
#endif
    return InOutError::fromErrno(errno != 0 ? errno : fallback);
}

std::filesystem::path defaultFolder() {
    if (const char* overridden = std::getenv("SURFTALLY_DATA_DIR");
        overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
#ifdef _WIN32
    return R"(C:\Program Files\Surftally)";
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::filesystem::path(xdg) / "Surftally";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "Surftally";
#endif
}

}  // namespace

DataFolder::DataFolder(std::filesystem::path dir) : dir_(std::move(dir)) {}

DataFolder DataFolder::standard() {
    return DataFolder(defaultFolder());
}

std::vector<std::string> DataFolder::ReadLines(std::string_view name, std::size_t n) const {
    clearFileError();
#ifdef _WIN32
    std::unique_ptr<std::FILE, FileCloser> f(::_wfopen(file(name).c_str(), L"rb"));
#else
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file(name).c_str(), "rb"));
#endif
    if (!f) {
        throw fileError(ENOENT);
    }
    std::vector<std::string> lines;
    lines.reserve(n);
    std::string line;
    bool atEnd = false;
    while (lines.size() < n && !atEnd) {
        line.clear();
        int c = 0;
        while ((c = std::fgetc(f.get())) != EOF && c != '\n') {
            if (line.size() == kHeldLength) {
                // No line end or byte-order mark can make this short enough: stop reading.
                throw overlongLine(line);
            }
            line.push_back(static_cast<char>(c));
        }
        if (c == EOF) {
            if (std::ferror(f.get())) {
                throw fileError(EIO);
            }
            atEnd = true;
            if (line.empty()) {
                break;
            }
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (lines.empty() && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line.erase(0, 3);
        }
        if (line.size() > kMaxLineLength) {
            throw overlongLine(line);
        }
        lines.push_back(line);
    }
    lines.resize(n);
    return lines;
}

std::string DataFolder::ReadLine(std::string_view name) const {
    return ReadLines(name, 1)[0];
}

void DataFolder::WriteLines(std::string_view name, const std::vector<std::string>& lines) const {
    std::string content;
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }
    ReplaceFileAtomically(file(name), content);
}

bool DataFolder::FileMissing(std::string_view name) const {
    std::error_code ec;
    const auto status = std::filesystem::status(file(name), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return true;
    }
    if (ec) {
#ifdef _WIN32
        if (ec.category() == std::system_category()) {
            throw InOutError::fromWin32(static_cast<unsigned long>(ec.value()));
        }
#endif
        throw InOutError::fromErrno(ec.value());
    }
    return false;
}

bool DataFolder::FileExists(std::string_view name) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(file(name), ec);
}

}  // namespace surftally
