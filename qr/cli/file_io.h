// Input and output of qrgen: binary standard streams and output files that
// never remain half written. Portable (the C runtime's own calls on Windows).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnelo::qr::cli {

// Switches a standard stream to binary mode (no newline translation on
// Windows; nothing to do elsewhere).
void SetBinaryMode(std::FILE* stream);

struct InputBytes {
  std::vector<std::uint8_t> bytes;  // the first `limit` bytes at most
  std::uint64_t total = 0;          // bytes the stream held in all
  bool ok = true;                   // false on a read error
};

// Reads the whole stream, keeping at most `limit` bytes and counting the rest.
InputBytes ReadAll(std::FILE* stream, std::size_t limit);

// Writes a file through `write`: the bytes go to a new temporary file beside
// `target`, which replaces the target only when `write` and closing
// succeeded. On failure the temporary file is removed, an existing target is
// left as it was, and `error` says what went wrong.
bool WriteFileAtomically(const std::string& target, const std::function<bool(std::FILE*)>& write,
                         std::string& error);

// The whole file, or nothing when it cannot be read or is larger than limit.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit);

}  // namespace varnelo::qr::cli
