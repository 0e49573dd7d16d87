// The line reader over arbitrary file content: the lines it gives are what the bytes say,
// whatever the line ends, byte-order mark or NUL bytes, and an over-long line is refused.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/DataFolder.h"
#include "store/StoreErrors.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace surftally;

namespace {

// The meaning of a line file, stated plainly: lines end at LF, a CR before it is not part of
// the line, a UTF-8 byte-order mark at the start of the file is not content, an empty tail
// after the last LF is no line, and lines that are not there read as empty. A line of more
// than 4096 bytes among those asked for makes the file unreadable as values: nothing is given.
std::optional<std::vector<std::string>> expectedLines(std::string_view content, std::size_t n) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (out.size() < n && pos < content.size()) {
        const std::size_t end = content.find('\n', pos);
        const std::string_view raw =
            content.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? content.size() : end + 1;
        std::string line(raw);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (out.empty() && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            line.erase(0, 3);
        }
        if (line.size() > 4096) {
            return std::nullopt;
        }
        out.push_back(std::move(line));
    }
    out.resize(n);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = data[0] % 5;
    const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);
    fuzz::putFile("lines.dat", content);

    const DataFolder folder(fuzz::scratchFolder());
    const auto expected = expectedLines(content, n);
    std::vector<std::string> lines;
    try {
        lines = folder.ReadLines("lines.dat", n);
    } catch (const ConvertError& e) {
        // Only an over-long line is refused, and with the usual conversion text.
        FUZZ_CHECK(!expected.has_value());
        fuzz::checkKnownError(e);
        return 0;
    } catch (const std::exception& e) {
        fuzz::fail("a readable file failed to read", e.what());
    }
    FUZZ_CHECK(expected.has_value() && lines == *expected);
    if (n > 0) {
        FUZZ_CHECK(folder.ReadLine("lines.dat") == lines[0]);
    }
    return 0;
}
