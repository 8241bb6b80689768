// Vector and text exports of a generated symbol: character art, PostScript,
// EPS, SVG, the two metafile formats (Windows tree only), an HTML fragment,
// and writing a vector document to a file. Portable: no platform header here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {

// A zero-terminated text in the system ANSI code page (GBK in the target
// locale); the terminator is implied by std::string.
using TextBytes = std::string;

// What the exports read of a symbol. Rows and columns count from 1 and
// include the margins, so dark(r, c) is the encoder's ModuleAt(r, c).
struct SymbolView {
  bool hasCode = false;                           // false: the exports give their empty result
  int width = 0;                                  // W: symbol size + left + right margin, modules
  int height = 0;                                 // H: symbol size + top + bottom margin, modules
  RgbColor darkColour = 0;                        // dark modules
  RgbColor lightColour = 0xFFFFFF;                // light modules and every background
  std::function<bool(int row, int column)> dark;  // 1..H, 1..W

  bool Dark(int row, int column) const { return dark && dark(row, column); }
  // A code with a drawable area; negative margins can leave none.
  bool Drawable() const { return hasCode && width > 0 && height > 0 && dark; }
};

// The view of the last symbol an encoder made (EncodeMatrix). It refers to
// the encoder, which must outlive it. hasCode is false before the first
// successful encode.
SymbolView MakeSymbolView(const QrEncoder& encoder, RgbColor darkColour = 0,
                          RgbColor lightColour = 0xFFFFFF);

// Format codes of ExportVector and SaveToFile.
enum class VectorFormat : std::int16_t { PostScript = 0, Eps = 1, Svg = 2, Wmf = 3, Emf = 4 };

// Six upper-case hex digits: red, green, blue. The top byte is ignored.
TextBytes ColorToHex(RgbColor colour);

// A fractional value written like printf "%.13g" (at most 13 significant
// digits, no trailing zeros, no point for whole values), independent of the
// C locale.
std::string FormatNumber(double value);

// The local date and time MakeStampId writes.
struct StampTime {
  int year = 0;    // full year; the last two digits are written
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};
StampTime CurrentStampTime();

// first + second + yyMMddHHmmss, then random characters from A-Z0-9 up to 20
// characters in all (none when the prefix already has 20 or more).
TextBytes MakeStampId(std::string_view first, std::string_view second);
TextBytes MakeStampId(std::string_view first, std::string_view second, const StampTime& now,
                      std::mt19937& random);

// One two-byte GBK character per module (ideographic space for light, a
// black circle or a block for dark), rows joined by CR LF, no line end after
// the last row. Empty without a code.
TextBytes ToTextArt(const SymbolView& symbol, std::optional<bool> useCircles = std::nullopt);

// The document in the given format (omitted: PostScript). width and height
// size the SVG drawing when given and > 0. Empty without a code, for a format
// outside 0..4, and for the metafile formats outside the Windows tree.
ByteBuffer ExportVector(const SymbolView& symbol, std::optional<std::int16_t> format = std::nullopt,
                        std::optional<int> width = std::nullopt,
                        std::optional<int> height = std::nullopt);

// A fragment of absolutely positioned divs filling widthPx x heightPx. Without
// a code it is the empty container.
TextBytes ExportHtml(const SymbolView& symbol, int widthPx, int heightPx);

// Writes ExportVector(format, width, height) to path. A temporary file beside
// the target receives the bytes and replaces the target only when complete;
// on any failure an existing file is left as it was. False without a code,
// for a format outside 0..4, for an empty document, or when writing fails.
bool SaveToFile(const SymbolView& symbol, const TextBytes& path,
                std::optional<std::int16_t> format = std::nullopt,
                std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt);

}  // namespace varnelo::qr
