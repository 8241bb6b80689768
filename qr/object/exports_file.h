// Replacing a file safely: the bytes go to a new file beside the target,
// which takes the target's place only when everything was written.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace varnelo::qr {

// path is in the system ANSI code page (Windows) or the file system's own
// encoding. False, with the target untouched and no temporary file left, when
// the path is empty or holds a zero byte, or when creating, writing or
// replacing fails (a missing folder, a folder in the target's place, no
// permission).
bool WriteExportFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace varnelo::qr
