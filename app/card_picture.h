// The card picture shown for the pinned entry: a 306 × 290 PNG with alpha,
// a red diamond-shaped card bearing 福 (assets/card.png, embedded at build
// time; tools/make-card-picture draws it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnelo::app {

extern const unsigned char kCardPicture[];
extern const std::size_t kCardPictureSize;

inline std::span<const std::uint8_t> CardPicture() {
  return {reinterpret_cast<const std::uint8_t*>(kCardPicture), kCardPictureSize};
}

}  // namespace varnelo::app
