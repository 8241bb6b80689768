// qrgen: encodes bytes from the command line or standard input as a QR Code
// symbol and writes it as an image.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "qr/cli/file_io.h"
#include "qr/cli/image_writers.h"
#include "qr/cli/options.h"
#include "qr/encode/qr_encoder.h"

namespace varnelo::qr::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitDoesNotFit = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInputOutput = 3;

// No symbol holds more than 7089 characters (numeric, version 40-L); input
// beyond this is counted, not kept.
constexpr std::size_t kMaxKeptInput = std::size_t{1} << 20;
constexpr int kMostCharactersInAnySymbol = 7089;

constexpr char kLevelLetters[] = "?LMQH";

constexpr std::size_t kMaxLogoBytes = std::size_t{64} << 20;

// The longest prefix of `data` whose bit stream fits `version` at `level`:
// k such that the first k bytes fit and the first k + 1 do not.
int FittingPrefix(const QrEncoder& encoder, std::span<const std::uint8_t> data, int version, int level,
                  bool allowKanji) {
  const int capacityBits = 8 * encoder.DataCodewordCount(version, level);
  auto fits = [&](int length) {
    const int bits = encoder.EncodeData({}, data, length, version, true, allowKanji);
    return length == 0 || (bits >= 0 && bits - 4 <= capacityBits);
  };
  int low = 0;  // fits
  int high = static_cast<int>(std::min<std::size_t>(data.size(), kMostCharactersInAnySymbol + 1));
  if (fits(high)) return high;
  while (high - low > 1) {
    const int middle = low + (high - low) / 2;
    (fits(middle) ? low : high) = middle;
  }
  return low;
}

int Run(const std::vector<std::string>& arguments) {
  const ParseResult parsed = ParseArguments(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "qrgen: %s\n\n%s", parsed.error.c_str(), UsageText().c_str());
    return kExitUsage;
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitOk;
  }

  InputBytes input;
  if (options.text && *options.text != "-") {
    input.bytes.assign(options.text->begin(), options.text->end());
    input.total = input.bytes.size();
  } else {
    SetBinaryMode(stdin);
    input = ReadAll(stdin, kMaxKeptInput);
    if (!input.ok) {
      std::fputs("qrgen: cannot read standard input\n", stderr);
      return kExitInputOutput;
    }
  }

  QrEncoder encoder;
  EncodeOptions encode;
  encode.data = input.bytes;
  encode.dataLength = static_cast<int>(input.bytes.size());
  encode.version = options.version;
  encode.level = options.level;
  encode.mask = options.mask;
  encode.allowKanji = options.allowKanji;
  // The light border travels with the symbol, so every type draws it.
  encode.marginLeft = encode.marginTop = encode.marginRight = encode.marginBottom = options.margin;
  const bool complete = input.total == input.bytes.size();
  if (!complete || !encoder.EncodeMatrix(encode)) {
    const int version = options.version == 0 ? 40 : options.version;
    const int prefix = FittingPrefix(encoder, input.bytes, version, options.level, options.allowKanji);
    const auto total = static_cast<unsigned long long>(input.total);
    const char level = kLevelLetters[options.level];
    if (options.version == 0) {
      std::fprintf(stderr,
                   "qrgen: %llu bytes of data do not fit any version at level %c; "
                   "the largest, version 40-%c, holds the first %d of them\n",
                   total, level, level, prefix);
    } else {
      std::fprintf(stderr,
                   "qrgen: %llu bytes of data do not fit version %d at level %c; "
                   "version %d-%c holds the first %d of them\n",
                   total, version, level, version, level, prefix);
    }
    return kExitDoesNotFit;
  }

  std::vector<std::uint8_t> logo;
  if (options.logo) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(*options.logo, kMaxLogoBytes);
    if (!bytes) {
      std::fprintf(stderr, "qrgen: cannot read the logo '%s'\n", options.logo->c_str());
      return kExitInputOutput;
    }
    logo = std::move(*bytes);
  }

  const ImageType* type = FindImageType(options.type);
  std::string error;
  const std::optional<ByteBuffer> image =
      type->make(ImageRequest{encoder, input.bytes, options, logo}, error);
  if (!image) {
    std::fprintf(stderr, "qrgen: %s\n", error.c_str());
    return kExitInputOutput;
  }
  auto write = [&](std::FILE* out) { return std::fwrite(image->data(), 1, image->size(), out) == image->size(); };
  if (options.output) {
    if (!WriteFileAtomically(*options.output, write, error)) {
      std::fprintf(stderr, "qrgen: %s\n", error.c_str());
      return kExitInputOutput;
    }
    return kExitOk;
  }
  SetBinaryMode(stdout);
  if (!write(stdout) || std::fflush(stdout) != 0) {
    std::fputs("qrgen: cannot write standard output\n", stderr);
    return kExitInputOutput;
  }
  return kExitOk;
}

}  // namespace
}  // namespace varnelo::qr::cli

#ifdef _WIN32
// On Windows the arguments are taken from the wide command line and passed on
// as UTF-8, so that TEXT is encoded as the user typed it, whatever the ANSI
// code page; file names are opened as Unicode (file_io.cpp).
#include <windows.h>
#include <shellapi.h>

int main() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string argument(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), bytes, nullptr, nullptr);
    arguments.push_back(std::move(argument));
  }
  LocalFree(wide);
  return varnelo::qr::cli::Run(arguments);
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return varnelo::qr::cli::Run(arguments);
}
#endif
