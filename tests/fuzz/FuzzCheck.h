#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/StoreErrors.h"

namespace surftally::fuzz {

[[noreturn]] inline void fail(std::string_view what, std::string_view detail = {}) {
    std::fprintf(stderr, "FUZZ CHECK FAILED: %.*s [%.*s]\n", static_cast<int>(what.size()),
                 what.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

#define FUZZ_CHECK(cond) \
    ((cond) ? (void)0 : ::surftally::fuzz::fail("FUZZ_CHECK(" #cond ")", __FILE__))

// Every failure a reader can report is one of the texts the user may be shown: "File not
// found", "I/O error N" with the system's number, or the conversion text quoting the offending
// field (control bytes masked, long fields cut).
inline bool isKnownErrorText(std::string_view text) {
    if (text == "File not found") {
        return true;
    }
    constexpr std::string_view io = "I/O error ";
    if (text.substr(0, io.size()) == io) {
        const std::string_view number = text.substr(io.size());
        return !number.empty() && number.size() <= 9 && number[0] != '0' &&
               number.find_first_not_of("0123456789") == std::string_view::npos;
    }
    constexpr std::string_view tail = "' is not a valid integer value";
    if (text.size() < tail.size() + 1 || text[0] != '\'' ||
        text.substr(text.size() - tail.size()) != tail) {
        return false;
    }
    const std::string_view quoted = text.substr(1, text.size() - tail.size() - 1);
    if (quoted.size() > 64 + 3) {
        return false;
    }
    for (const char c : quoted) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) {
            return false;
        }
    }
    return true;
}

inline void checkKnownError(const std::exception& e) {
    if (!isKnownErrorText(e.what())) {
        fail("unknown error text", e.what());
    }
}

// Runs a reader; a StoreError must carry a known text, and nothing else may escape it.
// Gives whether the reader succeeded.
template <class F>
bool readerSucceeds(F&& reader) {
    try {
        reader();
        return true;
    } catch (const StoreError& e) {
        checkKnownError(e);
        return false;
    } catch (const std::exception& e) {
        fail("unexpected exception type", e.what());
    }
}

// A scratch folder for one fuzzing process, removed when it exits normally. It lies in memory
// where the machine has /dev/shm: every input is written to a file, and a disk would slow the
// runs thirtyfold. Never destroyed, so that the exit handler can still use it.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path* const folder = [] {
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "surftally-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            fail("cannot create a scratch folder", pattern);
        }
        auto* made = new std::filesystem::path(pattern);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchFolder(), ec);
        });
        return made;
    }();
    return *folder;
}

// Puts exactly these bytes into a file of the scratch folder.
inline void putFile(const std::string& name, std::string_view bytes) {
    std::FILE* f = std::fopen((scratchFolder() / name).c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        fail("cannot write a scratch file", name);
    }
    std::fclose(f);
}

}  // namespace surftally::fuzz
