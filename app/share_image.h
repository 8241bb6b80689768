// The colour and rectangle helpers of the share image. Portable.
#pragma once

#include <cstdint>
#include <optional>

#include "draw/records.h"

namespace varnelo::app {

using RgbColor = std::uint32_t;   // 0x00BBGGRR, red in the low byte
using ArgbColor = std::uint32_t;  // 0xAARRGGBB, as the drawing layer takes it

// The ARGB form of an RGB colour with the given alpha (omitted: 255, opaque).
// 0x0000FF (red) with alpha 244 gives 0xF4FF0000.
constexpr ArgbColor ArgbFromRgb(RgbColor rgb, std::optional<std::uint8_t> alpha = std::nullopt) {
  const std::uint32_t a = alpha.value_or(255);
  const std::uint32_t r = rgb & 0xFF;
  const std::uint32_t g = (rgb >> 8) & 0xFF;
  const std::uint32_t b = (rgb >> 16) & 0xFF;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// The layout rectangle of a string drawing; width and height 0 when omitted.
constexpr draw::RectF MakeLayoutRect(float x, float y, std::optional<float> width = std::nullopt,
                                     std::optional<float> height = std::nullopt) {
  return draw::RectF{x, y, width.value_or(0.0f), height.value_or(0.0f)};
}

}  // namespace varnelo::app
