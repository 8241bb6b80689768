// The command line of qrgen, parsed into one value. Portable.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnelo::qr::cli {

struct Options {
  int version = 0;              // 0..40; 0: the smallest version that fits
  int level = 2;                // 1..4 (L, M, Q, H)
  std::optional<int> mask;      // 0..7; omitted: the encoder's default (pattern 0)
  int margin = 4;               // light modules on every side, 0..kMaxMargin
  int scale = 4;                // pixels per module, 1..kMaxScale
  bool allowKanji = false;      // the input is Shift JIS and may use Kanji mode
  std::string type = "pbm";     // a name of the image type table
  std::optional<std::string> output;  // omitted: standard output
  std::optional<std::string> text;    // omitted or "-": standard input
  std::optional<int> width;     // svg, html: drawing size, 1..kMaxDrawingSize
  std::optional<int> height;
  bool circles = false;         // txt: dark modules as circles
  std::optional<std::string> logo;    // raster types: picture file for the middle
  bool help = false;
};

inline constexpr int kMaxMargin = 100;
inline constexpr int kMaxScale = 100;
inline constexpr int kMaxDrawingSize = 100000;

struct ParseResult {
  std::optional<Options> options;  // empty on a usage error
  std::string error;               // what was wrong, for the user
};

// Arguments without the program name. Options and TEXT may come in any
// order; "--" ends the options. Values may follow as the next argument or,
// for long options, after "=" ("--level=Q").
ParseResult ParseArguments(const std::vector<std::string>& arguments);

// The usage text, ending in a newline.
std::string UsageText();

}  // namespace varnelo::qr::cli
