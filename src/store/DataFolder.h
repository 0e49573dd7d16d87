#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace surftally {

// The one folder that holds every stored value, and the one way its line files are read
// and written.
class DataFolder {
public:
    explicit DataFolder(std::filesystem::path dir);

    // SURFTALLY_DATA_DIR when set (development and tests); else C:\Program Files\Surftally on
    // Windows and $XDG_DATA_HOME/Surftally (by default ~/.local/share/Surftally) elsewhere.
    static DataFolder standard();

    const std::filesystem::path& path() const { return dir_; }
    std::filesystem::path file(std::string_view name) const { return dir_ / name; }

    // Up to n lines of the file; a line that is missing reads as the empty text. Lines may end
    // in CR LF or LF; a leading UTF-8 byte-order mark is dropped. A line longer than 4096 bytes
    // raises ConvertError quoting its start.
    std::vector<std::string> ReadLines(std::string_view name, std::size_t n) const;

    // Line 1 of the file.
    std::string ReadLine(std::string_view name) const;

    // Replaces the file with the lines, each ended by CR LF. The replacement is atomic: on any
    // failure the old content stays whole and InOutError is raised.
    void WriteLines(std::string_view name, const std::vector<std::string>& lines) const;

    bool FileExists(std::string_view name) const;
    // Whether the file is confirmed absent. A failure to tell (a folder that cannot be read, a
    // share that dropped) raises InOutError with the system's error.
    bool FileMissing(std::string_view name) const;

private:
    std::filesystem::path dir_;
};

}  // namespace surftally
