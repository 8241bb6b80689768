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

// Creates `path` only if it does not exist yet, for writing in binary.
std::FILE* CreateExclusive(const std::string& path) {
#ifdef _WIN32
  const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
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
    std::remove(temporary.c_str());
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    error = "cannot replace '" + target + "': " + ec.message();
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace varnelo::qr::cli
