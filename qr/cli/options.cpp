// Command-line parsing of qrgen.
#include "qr/cli/options.h"

#include <array>
#include <charconv>
#include <string_view>

#include "qr/cli/image_writers.h"

namespace varnelo::qr::cli {
namespace {

// A whole decimal integer within [low, high], or nothing.
std::optional<int> ParseInt(std::string_view text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int> ParseLevel(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  switch (text[0]) {
    case 'L': case 'l': return 1;
    case 'M': case 'm': return 2;
    case 'Q': case 'q': return 3;
    case 'H': case 'h': return 4;
    default: return std::nullopt;
  }
}

enum class Key { Version, Level, Mask, Margin, Scale, Kanji, Type, Output, Width, Height, Circles, Logo, Help };

struct OptionSpec {
  std::string_view shortName;  // empty: none
  std::string_view longName;
  Key key;
  bool takesValue;
};

constexpr std::array kOptionSpecs = {
    OptionSpec{"-v", "--version", Key::Version, true}, OptionSpec{"-l", "--level", Key::Level, true},
    OptionSpec{"-m", "--mask", Key::Mask, true},       OptionSpec{"", "--margin", Key::Margin, true},
    OptionSpec{"-s", "--scale", Key::Scale, true},     OptionSpec{"", "--kanji", Key::Kanji, false},
    OptionSpec{"-t", "--type", Key::Type, true},       OptionSpec{"-o", "--output", Key::Output, true},
    OptionSpec{"", "--width", Key::Width, true},       OptionSpec{"", "--height", Key::Height, true},
    OptionSpec{"", "--circles", Key::Circles, false},  OptionSpec{"", "--logo", Key::Logo, true},
    OptionSpec{"-h", "--help", Key::Help, false},
};

// Stores one option's value; an error text when the value is not acceptable.
std::string Apply(Options& options, Key key, std::string_view name, std::string_view value) {
  const auto invalid = [&](std::string_view expected) {
    return "invalid value '" + std::string(value) + "' for " + std::string(name) + " (expected " +
           std::string(expected) + ")";
  };
  // A whole number in [low, high] into `field`.
  const auto setNumber = [&](auto& field, int low, int high) -> std::string {
    const std::optional<int> number = ParseInt(value, low, high);
    if (!number) return invalid(std::to_string(low) + ".." + std::to_string(high));
    field = *number;
    return "";
  };
  switch (key) {
    case Key::Version:
      return setNumber(options.version, 0, 40);
    case Key::Mask:
      return setNumber(options.mask, 0, 7);
    case Key::Margin:
      return setNumber(options.margin, 0, kMaxMargin);
    case Key::Scale:
      return setNumber(options.scale, 1, kMaxScale);
    case Key::Level: {
      const std::optional<int> level = ParseLevel(value);
      if (!level) return invalid("L, M, Q or H");
      options.level = *level;
      return "";
    }
    case Key::Type:
      if (!FindImageType(value)) return "unknown image type '" + std::string(value) + "'";
      options.type = std::string(value);
      return "";
    case Key::Output:
      if (value.empty()) return invalid("a file name");
      options.output = std::string(value);
      return "";
    case Key::Kanji:
      options.allowKanji = true;
      return "";
    case Key::Width:
      return setNumber(options.width, 1, kMaxDrawingSize);
    case Key::Height:
      return setNumber(options.height, 1, kMaxDrawingSize);
    case Key::Circles:
      options.circles = true;
      return "";
    case Key::Logo:
      if (value.empty()) return invalid("a file name");
      options.logo = std::string(value);
      return "";
    case Key::Help:
      options.help = true;
      return "";
  }
  return "";
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool looksLikeOption = argument.size() > 1 && argument[0] == '-';
    if (optionsEnded || !looksLikeOption) {
      if (options.text) return fail("more than one TEXT given");
      options.text = argument;
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    // "--name=value" carries its value; every other form takes the next argument.
    std::string_view name = argument;
    std::optional<std::string_view> inlineValue;
    if (argument.starts_with("--")) {
      if (const auto eq = argument.find('='); eq != std::string::npos) {
        name = std::string_view(argument).substr(0, eq);
        inlineValue = std::string_view(argument).substr(eq + 1);
      }
    }
    const OptionSpec* known = nullptr;
    for (const OptionSpec& s : kOptionSpecs) {
      if (name == s.longName || (!s.shortName.empty() && name == s.shortName)) known = &s;
    }
    if (!known) return fail("unknown option '" + std::string(name) + "'");
    std::string_view value;
    if (known->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return fail("option " + std::string(name) + " needs a value");
      }
    } else if (inlineValue) {
      return fail("option " + std::string(name) + " takes no value");
    }
    if (std::string error = Apply(options, known->key, name, value); !error.empty()) return fail(error);
  }
  // Options that only some types take.
  const ImageType* type = FindImageType(options.type);
  if ((options.width || options.height) && !(type->takes & kTakesSize)) {
    return fail("--width and --height need an svg or html type");
  }
  if (options.circles && !(type->takes & kTakesCircles)) return fail("--circles needs the txt type");
  if (options.logo && !(type->takes & kTakesLogo)) return fail("--logo needs a raster image type");
  return ParseResult{options, ""};
}

std::string UsageText() {
  return "Usage: qrgen [options] [TEXT]\n"
         "Encodes the bytes of TEXT as a QR Code symbol; with no TEXT, or TEXT '-',\n"
         "the bytes are read from standard input.\n"
         "\n"
         "Options:\n"
         "  -v, --version N   symbol version 1..40; 0 (default): the smallest that fits\n"
         "  -l, --level L     error correction level L, M (default), Q or H\n"
         "  -m, --mask N      mask pattern 0..7 (default 0)\n"
         "      --margin N    light border in modules on every side, 0.." +
         std::to_string(kMaxMargin) +
         " (default 4)\n"
         "  -s, --scale N     pixels per module, 1.." +
         std::to_string(kMaxScale) +
         " (default 4)\n"
         "      --kanji       allow Kanji mode; the input must be Shift JIS\n"
         "  -t, --type TYPE   image type (default pbm):\n" +
         ImageTypeList() +
         "  -o, --output FILE write to FILE (default: standard output)\n"
         "      --width N     width of an svg or html drawing, 1.." + std::to_string(kMaxDrawingSize) + "\n"
         "      --height N    height of an svg or html drawing\n"
         "      --circles     txt: dark modules as circles instead of blocks\n"
         "      --logo FILE   raster types: a picture set in the middle of the code\n"
         "  -h, --help        show this text\n"
         "\n"
         "Exit status: 0 success; 1 the data does not fit; 2 usage error;\n"
         "3 the input could not be read or the output not written.\n";
}

}  // namespace varnelo::qr::cli
