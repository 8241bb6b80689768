// Colour and number writing, the stamp identifier, character art and the HTML
// fragment.
#include <charconv>
#include <chrono>
#include <ctime>
#include <exception>

#include "qr/object/exports.h"

namespace varnelo::qr {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kStampAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t kStampLength = 20;

// The character-art cells as GBK (code page 936) bytes: U+3000 ideographic
// space, U+25CF black circle, U+2587 lower seven eighths block.
constexpr std::string_view kArtLight = "\xA1\xA1";
constexpr std::string_view kArtCircle = "\xA1\xF1";
constexpr std::string_view kArtBlock = "\xA8\x7E";

void AppendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// One cell per module, rows joined by CR LF.
TextBytes TextArt(const SymbolView& symbol, bool useCircles) {
  const std::string_view darkCell = useCircles ? kArtCircle : kArtBlock;
  TextBytes art;
  art.reserve(static_cast<std::size_t>(symbol.height) * (2 * symbol.width + 2));
  for (int row = 1; row <= symbol.height; ++row) {
    if (row > 1) art += "\r\n";
    for (int column = 1; column <= symbol.width; ++column)
      art += symbol.Dark(row, column) ? darkCell : kArtLight;
  }
  return art;
}

// The container with one absolutely positioned div per module.
TextBytes HtmlFragment(const SymbolView& symbol, int widthPx, int heightPx) {
  TextBytes html =
      "<div style=\"position:relative;overflow:hidden;width:" + std::to_string(widthPx) +
      "px;height:" + std::to_string(heightPx) + "px;background-color:#" +
      ColorToHex(symbol.lightColour) + "\">";
  if (symbol.Drawable()) {
    const double moduleWidth = static_cast<double>(widthPx) / symbol.width;
    const double moduleHeight = static_cast<double>(heightPx) / symbol.height;
    const std::string width = FormatNumber(moduleWidth);
    const std::string height = FormatNumber(moduleHeight);
    const std::string darkHex = ColorToHex(symbol.darkColour);
    const std::string lightHex = ColorToHex(symbol.lightColour);
    for (int row = 1; row <= symbol.height; ++row) {
      const std::string top = FormatNumber(moduleHeight * (row - 1));
      for (int column = 1; column <= symbol.width; ++column) {
        html += "<div style=\"position:absolute;overflow:hidden;left:";
        html += FormatNumber(moduleWidth * (column - 1));
        html +=
            "px;top:" + top + "px;width:" + width + "px;height:" + height + "px;background-color:#";
        html += symbol.Dark(row, column) ? darkHex : lightHex;
        html += "\"></div>";
      }
    }
  }
  html += "</div>";
  return html;
}

}  // namespace

SymbolView MakeSymbolView(const QrEncoder& encoder, RgbColor darkColour, RgbColor lightColour) {
  const ModuleMatrix& matrix = encoder.Matrix();
  const Margins& margins = encoder.StoredMargins();
  SymbolView view;
  view.hasCode = matrix.size > 0;
  if (view.hasCode) {
    view.width = matrix.size + margins.left + margins.right;
    view.height = matrix.size + margins.top + margins.bottom;
  }
  view.darkColour = darkColour;
  view.lightColour = lightColour;
  view.dark = [&encoder](int row, int column) { return encoder.ModuleAt(row, column) != 0; };
  return view;
}

TextBytes ColorToHex(RgbColor colour) {
  const unsigned channels[3] = {colour & 0xFFu, (colour >> 8) & 0xFFu, (colour >> 16) & 0xFFu};
  TextBytes hex;
  hex.reserve(6);
  for (unsigned channel : channels) {
    hex += kHexDigits[channel >> 4];
    hex += kHexDigits[channel & 0xFu];
  }
  return hex;
}

std::string FormatNumber(double value) {
  // "%.13g" needs at most 21 characters (sign, 13 digits, point, e-308).
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
  return std::string(buffer, result.ptr);
}

StampTime CurrentStampTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return StampTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

TextBytes MakeStampId(std::string_view first, std::string_view second, const StampTime& now,
                      std::mt19937& random) {
  TextBytes id;
  id.reserve(kStampLength);
  id.append(first).append(second);
  AppendTwoDigits(id, now.year % 100);
  AppendTwoDigits(id, now.month);
  AppendTwoDigits(id, now.day);
  AppendTwoDigits(id, now.hour);
  AppendTwoDigits(id, now.minute);
  AppendTwoDigits(id, now.second);
  if (id.size() < kStampLength) {
    std::uniform_int_distribution<std::size_t> pick(0, kStampAlphabet.size() - 1);
    for (std::size_t n = kStampLength - id.size(); n > 0; --n) id += kStampAlphabet[pick(random)];
  }
  return id;
}

TextBytes MakeStampId(std::string_view first, std::string_view second) {
  // Seeded once from the clock; only the spread of the characters matters.
  static std::mt19937 random(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count() ^
      std::chrono::steady_clock::now().time_since_epoch().count()));
  return MakeStampId(first, second, CurrentStampTime(), random);
}

TextBytes ToTextArt(const SymbolView& symbol, std::optional<bool> useCircles) {
  if (!symbol.Drawable()) return {};
  try {
    return TextArt(symbol, useCircles.value_or(false));
  } catch (const std::exception&) {
    return {};  // too large for memory
  }
}

TextBytes ExportHtml(const SymbolView& symbol, int widthPx, int heightPx) {
  try {
    return HtmlFragment(symbol, widthPx, heightPx);
  } catch (const std::exception&) {
    return {};  // too large for memory
  }
}

}  // namespace varnelo::qr
