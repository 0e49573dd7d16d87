#pragma once

#include <filesystem>
#include <string_view>

namespace surftally {

// Writes content to a temporary file beside target, flushes it to the disk and puts it in
// target's place in one step. A target that is a link is written through: the file it leads
// to is replaced, in that file's folder. A read-only target is refused ("I/O error" with the
// system's access-denied number) and left as it is. On failure the temporary file is removed,
// target is left as it was, and InOutError carries the system's error number.
void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace surftally
