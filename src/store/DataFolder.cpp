#include "store/DataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "store/Conversions.h"
#include "store/DataFolderPlatform.h"
#include "store/ReplaceFile.h"
#include "store/StoreErrors.h"

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

std::string_view switchFile(Switch which) {
    switch (which) {
        case Switch::Status:
            return DataFile::Status;
        case Switch::Freeze:
            return DataFile::Freeze;
        case Switch::Hide:
            break;
    }
    return DataFile::Hide;
}

}  // namespace

DataFolder::DataFolder(std::filesystem::path dir) : dir_(std::move(dir)) {}

DataFolder DataFolder::standard() {
    if (const char* overridden = std::getenv("SURFTALLY_DATA_DIR");
        overridden != nullptr && *overridden != '\0') {
        return DataFolder(overridden);
    }
    return DataFolder(folder_system::systemFolder());
}

std::vector<std::string> DataFolder::ReadLines(std::string_view name, std::size_t n) const {
    std::vector<std::string> lines = ReadLinesUpTo(name, n);
    lines.resize(n);
    return lines;
}

std::vector<std::string> DataFolder::ReadLinesUpTo(std::string_view name, std::size_t n) const {
    std::unique_ptr<std::FILE, FileCloser> f(folder_system::openForReading(file(name)));
    if (!f) {
        throw folder_system::lastFileError(ENOENT);
    }
    std::vector<std::string> lines;
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
                throw folder_system::lastFileError(EIO);
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
        throw folder_system::statusError(ec);
    }
    return false;
}

bool DataFolder::FileExists(std::string_view name) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(file(name), ec);
}

std::string DataFolder::ReadBalance() const {
    return ReadLine(DataFile::Balance);
}

void DataFolder::WriteBalance(const std::string& text) const {
    WriteLines(DataFile::Balance, {text});
}

bool DataFolder::BalanceMissing() const {
    return FileMissing(DataFile::Balance);
}

std::int32_t DataFolder::ReadAlarm() const {
    return StrToInt(ReadLine(DataFile::Alarm));
}

void DataFolder::WriteAlarm(std::int32_t hours) const {
    WriteLines(DataFile::Alarm, {IntToStr(hours)});
}

void DataFolder::ReadEconomic(std::string& begin, std::string& end, std::int32_t& percent) const {
    const auto lines = ReadLines(DataFile::Economic, 3);
    begin = lines[0];
    end = lines[1];
    percent = StrToInt(lines[2]);
}

void DataFolder::WriteEconomic(const std::string& begin, const std::string& end,
                               std::int32_t percent) const {
    WriteLines(DataFile::Economic, {begin, end, IntToStr(percent)});
}

void DataFolder::ReadPlace(std::string& left, std::string& top) const {
    const auto lines = ReadLines(DataFile::Position, 2);
    left = lines[0];
    top = lines[1];
}

void DataFolder::WritePlace(std::int32_t left, std::int32_t top) const {
    WriteLines(DataFile::Position, {IntToStr(left), IntToStr(top)});
}

std::optional<bool> DataFolder::ReadSwitch(Switch which) const {
    return surftally::ReadSwitch(ReadLine(switchFile(which)));
}

void DataFolder::WriteSwitch(Switch which, bool on) const {
    WriteLines(switchFile(which), {SwitchText(on)});
}

bool DataFolder::SerbianChosen() const {
    return FileExists(DataFile::Serbian);
}

}  // namespace surftally
