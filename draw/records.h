// Value types that cross the drawing layer's interface. No platform types
// here: the layer converts to the library's records at each call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnelo::draw {

// 0xAARRGGBB, passed to the library unchanged.
using ArgbColor = std::uint32_t;
// A counted byte array; copies are independent.
using ByteBuffer = std::vector<std::uint8_t>;
// Zero-terminated text in the system ANSI code page (GBK in the target locale).
using TextBytes = std::string;
// A GUID in registry form: "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}".
using GuidText = std::string;

struct PointF {
  float x = 0, y = 0;
};
struct PointI {
  std::int32_t x = 0, y = 0;
};
struct SizeF {
  float width = 0, height = 0;
};
struct RectF {
  float x = 0, y = 0, width = 0, height = 0;
};
struct RectI {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// A run of characters whose layout MeasureCharacterRanges reports.
struct CharacterRange {
  std::int32_t first = 0;   // index of the first UTF-16 unit
  std::int32_t length = 0;  // number of units
};

struct Palette {
  std::uint32_t flags = 0;
  std::uint32_t count = 0;  // entries used; at most entries.size()
  std::vector<ArgbColor> entries;
};

struct PropertyItem {
  std::uint32_t id = 0;
  std::uint32_t length = 0;  // bytes of value the library reads; at most value.size()
  std::int32_t type = 0;     // the library's 16-bit type code
  ByteBuffer value;
};

struct EncoderParameter {
  GuidText guid;
  std::uint32_t numberOfValues = 0;
  std::uint32_t type = 0;  // the library's value type, 1..8
  ByteBuffer values;       // numberOfValues values of that type
};

struct EncoderParameterList {
  std::vector<EncoderParameter> entries;
};

// Image format IDs as the library names them.
inline const GuidText kImageFormatBmp = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline const GuidText kImageFormatPng = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

// Library constants the layer applies as defaults.
inline constexpr std::int32_t kPixelFormat32bppArgb = 0x26200A;
inline constexpr std::int32_t kUnitPixel = 2;
inline constexpr std::int32_t kCombineModeIntersect = 1;
inline constexpr std::int32_t kDriverStringCmapLookup = 1;

}  // namespace varnelo::draw
