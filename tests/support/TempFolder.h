#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("surftally-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes raw bytes, exactly as given.
    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string get(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The content of a new data folder.
    void seedDefaults() const {
        put("remain.dat", "000:00:00\r\n");
        put("alarm.dat", "2\r\n");
        put("economic.dat", "00:00\r\n00:00\r\n0\r\n");
        put("position.dat", "-1\r\n-1\r\n");
        put("hide.dat", "Off\r\n");
        put("status.dat", "On\r\n");
        put("freeze.dat", "Off\r\n");
    }

private:
    std::filesystem::path path_;
};
