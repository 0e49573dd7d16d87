#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "store/StoreErrors.h"

// What reading the data folder asks of the system, one file per system.
namespace surftally::folder_system {

// The system's own place for the program's data.
std::filesystem::path systemFolder();

// Opens the file for reading in binary mode; nullptr on failure, after which lastFileError()
// tells why.
std::FILE* openForReading(const std::filesystem::path& file);

// The failure of the last C library call on a file, or of `fallback` when the library kept
// none.
InOutError lastFileError(int fallback);

// The failure a std::filesystem call reported.
InOutError statusError(const std::error_code& ec);

}  // namespace surftally::folder_system
