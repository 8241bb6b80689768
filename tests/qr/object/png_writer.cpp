// Writes what a user of the QR object gets as PNG files, for the decoder
// check in decode_test.sh:
//   qr_object_png_writer <name> <version> <level> <size> <text-hex>
// makes <name>.png (SaveImageToFile) and <name>-bytes.png (EncodeToImageBytes,
// format 4) of the text, given as the hex digits of its ANSI bytes (a command
// line cannot carry them through Wine unchanged) and encoded as UTF-8. Exit
// status 0 when both files were written.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "qr/object/qr_code.h"

namespace {

// The bytes of a string of hex digit pairs; nullopt for anything else.
std::optional<std::string> FromHex(const std::string& hex) {
  if (hex.size() % 2) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long value = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return std::nullopt;
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s name version level size text\n", argv[0]);
    return 2;
  }
  const std::string name = argv[1];
  const int version = std::atoi(argv[2]);
  const int level = std::atoi(argv[3]);
  const int size = std::atoi(argv[4]);
  const std::optional<std::string> text = FromHex(argv[5]);
  if (!text) {
    std::fprintf(stderr, "%s: the text is not hex\n", name.c_str());
    return 2;
  }
  varnelo::qr::QrCode code;
  if (!code.Generate(*text, {.version = version, .level = level})) {
    std::fprintf(stderr, "%s: Generate failed\n", name.c_str());
    return 1;
  }
  if (!code.SaveImageToFile(name + ".png", {.size = size}, 4)) {
    std::fprintf(stderr, "%s: SaveImageToFile failed\n", name.c_str());
    return 1;
  }
  const varnelo::qr::ByteBuffer png = code.EncodeToImageBytes({.size = size}, 4);
  std::FILE* file = std::fopen((name + "-bytes.png").c_str(), "wb");
  if (png.empty() || !file) {
    if (file) std::fclose(file);
    std::fprintf(stderr, "%s: EncodeToImageBytes failed\n", name.c_str());
    return 1;
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}
