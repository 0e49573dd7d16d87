#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace surftally {

// The data files, each named here and nowhere else.
namespace DataFile {
inline constexpr std::string_view Balance = "remain.dat";
inline constexpr std::string_view Alarm = "alarm.dat";
inline constexpr std::string_view Economic = "economic.dat";
inline constexpr std::string_view Position = "position.dat";
inline constexpr std::string_view Hide = "hide.dat";
inline constexpr std::string_view Status = "status.dat";
inline constexpr std::string_view Freeze = "freeze.dat";
// Its presence alone chooses Serbian.
inline constexpr std::string_view Serbian = "srpski.dat";
// The on-line spells; optional: missing, the history is empty.
inline constexpr std::string_view History = "history.dat";
}  // namespace DataFile

// The three On/Off switch files.
enum class Switch { Hide, Status, Freeze };

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
    // The same for a file of any length: the lines it has, at most n, none added.
    std::vector<std::string> ReadLinesUpTo(std::string_view name, std::size_t n) const;

    // Line 1 of the file.
    std::string ReadLine(std::string_view name) const;

    // Replaces the file with the lines, each ended by CR LF. The replacement is atomic: on any
    // failure the old content stays whole and InOutError is raised.
    void WriteLines(std::string_view name, const std::vector<std::string>& lines) const;

    bool FileExists(std::string_view name) const;
    // Whether the file is confirmed absent. A failure to tell (a folder that cannot be read, a
    // share that dropped) raises InOutError with the system's error.
    bool FileMissing(std::string_view name) const;

    // The data files by what they hold. A read raises what ReadLines and the conversion of a
    // field raise; a write is WriteLines's atomic replacement.

    // The balance line as stored, unchecked.
    std::string ReadBalance() const;
    void WriteBalance(const std::string& text) const;
    // Whether the balance file is confirmed absent (see FileMissing).
    bool BalanceMissing() const;

    // The minimum hours.
    std::int32_t ReadAlarm() const;
    void WriteAlarm(std::int32_t hours) const;

    // The economic period: its begin and end times of day as stored ("HH:MM", unchecked), then
    // the discount percent. Each field lands in its target as soon as it is read, so a failing
    // percent leaves the two times set.
    void ReadEconomic(std::string& begin, std::string& end, std::int32_t& percent) const;
    void WriteEconomic(const std::string& begin, const std::string& end,
                       std::int32_t percent) const;

    // The strip's place, both lines as stored (ReadPosition converts them).
    void ReadPlace(std::string& left, std::string& top) const;
    void WritePlace(std::int32_t left, std::int32_t top) const;

    // A switch: On, Off, or nothing when the file holds neither (see ReadSwitch).
    std::optional<bool> ReadSwitch(Switch which) const;
    void WriteSwitch(Switch which, bool on) const;

    // Whether the user interface speaks Serbian.
    bool SerbianChosen() const;

private:
    std::filesystem::path dir_;
};

}  // namespace surftally
