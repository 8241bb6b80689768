// Standard streams and atomic output files of qrgen.
#include "qr/cli/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace varnelo::qr::cli {
namespace {

// Command-line paths are UTF-8 (qrgen takes its arguments from the wide
// command line on Windows), so they reach the file system as Unicode there.
std::filesystem::path NativePath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

// Creates `path` only if it does not exist yet, for writing in binary.
std::FILE* CreateExclusive(const std::string& path) {
#ifdef _WIN32
  const int fd = _wopen(NativePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (!file) _close(fd);
#else
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) close(fd);
#endif
  return file;
}

}  // namespace

void SetBinaryMode([[maybe_unused]] std::FILE* stream) {
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);
#endif
}

InputBytes ReadAll(std::FILE* stream, std::size_t limit) {
  InputBytes input;
  std::vector<std::uint8_t> chunk(1 << 16);
  for (;;) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stream);
    const std::size_t keep = std::min(got, limit - input.bytes.size());
    input.bytes.insert(input.bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(keep));
    input.total += got;
    if (got < chunk.size()) break;
  }
  input.ok = !std::ferror(stream);
  return input;
}

bool WriteFileAtomically(const std::string& target, const std::function<bool(std::FILE*)>& write,
                         std::string& error) {
  // A name beside the target, so that the final rename stays on one file system.
  std::random_device seed;
  std::mt19937 random(seed());
  std::string temporary;
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temporary = target + ".qrgen-" + std::to_string(random() % 1000000000U) + ".tmp";
    file = CreateExclusive(temporary);
    if (!file && errno != EEXIST) break;
  }
  if (!file) {
    error = "cannot create a file beside '" + target + "': " + std::strerror(errno);
    return false;
  }

  bool ok = write(file);
  ok = std::fflush(file) == 0 && ok && !std::ferror(file);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    error = "cannot write '" + target + "'";
    std::error_code ignored;
    std::filesystem::remove(NativePath(temporary), ignored);
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(NativePath(temporary), NativePath(target), ec);
  if (ec) {
    error = "cannot replace '" + target + "': " + ec.message();
    std::error_code ignored;
    std::filesystem::remove(NativePath(temporary), ignored);
    return false;
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit) {
#ifdef _WIN32
  std::FILE* file = _wfopen(NativePath(path).c_str(), L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  if (!file) return std::nullopt;
  InputBytes input = ReadAll(file, limit);
  std::fclose(file);
  if (!input.ok || input.total > limit) return std::nullopt;
  return std::move(input.bytes);
}

}  // namespace varnelo::qr::cli
