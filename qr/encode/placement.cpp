#include "qr/encode/placement.h"

#include <algorithm>
#include <cstddef>

#include "qr/encode/masking.h"
#include "qr/encode/qr_encoder.h"
#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

class Marker {
 public:
  Marker(std::span<std::uint8_t> grid, int stride, int size) : grid_(grid), stride_(stride), size_(size) {}

  void Set(int x, int y, std::uint8_t mark) {
    if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
    grid_[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_) + static_cast<std::size_t>(x)] = mark;
  }

  // 5 x 5: dark ring, light ring, dark centre.
  void AlignmentPattern(int cx, int cy) {
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const bool dark = dx == -2 || dx == 2 || dy == -2 || dy == 2 || (dx == 0 && dy == 0);
        Set(cx + dx, cy + dy, dark ? kDarkFunction : kLightFunction);
      }
    }
  }

 private:
  std::span<std::uint8_t> grid_;
  int stride_;
  int size_;
};

}  // namespace

bool DrawFunctionPatternsInto(std::span<std::uint8_t> functionMatrix, int stride, int version) {
  if (tables::IsMicroVersion(version)) return true;
  if (!tables::IsQrVersion(version)) return false;
  const int s = tables::SymbolSize(version);
  if (stride < s || functionMatrix.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride)) {
    return false;
  }
  Marker m(functionMatrix, stride, s);

  // Finder patterns with their separators: offsets 0..7 from each corner.
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const bool light = ((j == 1 || j == 5) && i >= 1 && i <= 5) || ((i == 1 || i == 5) && j >= 1 && j <= 5) ||
                         i == 7 || j == 7;
      const std::uint8_t mark = light ? kLightFunction : kDarkFunction;
      m.Set(j, i, mark);
      m.Set(s - 1 - j, i, mark);
      m.Set(j, s - 1 - i, mark);
    }
  }
  // Format areas, filled in last.
  for (int c = 0; c < 8; ++c) {
    m.Set(c, 8, kLightFunction);
    m.Set(8, c, kLightFunction);
    m.Set(s - 1 - c, 8, kLightFunction);
    m.Set(8, s - 1 - c, kLightFunction);
  }
  m.Set(8, 8, kLightFunction);
  m.Set(8, s - 8, kDarkFunction);
  // Version areas: 3 x 7 here, cut to 3 x 6 by the timing patterns below.
  if (version >= 7) {
    for (int y = s - 11; y <= s - 9; ++y) {
      for (int x = 0; x <= 6; ++x) {
        m.Set(x, y, kLightFunction);
        m.Set(y, x, kLightFunction);
      }
    }
  }
  for (int n = 8; n <= s - 9; ++n) {
    const std::uint8_t mark = n % 2 == 0 ? kDarkFunction : kLightFunction;
    m.Set(n, 6, mark);
    m.Set(6, n, mark);
  }
  if (version >= 2) {
    const int step = tables::AlignmentStep(version);
    for (int cy = s - 7; cy >= 18; cy -= step) {
      for (int cx = s - 7; cx >= 18; cx -= step) m.AlignmentPattern(cx, cy);
    }
    // Along the timing lines, except where a finder pattern sits.
    for (int w = s - 7 - step; w >= 18; w -= step) {
      m.AlignmentPattern(w, 6);
      m.AlignmentPattern(6, w);
    }
  }
  return true;
}

bool QrEncoder::DrawFunctionPatterns(std::span<std::uint8_t> functionMatrix, int stride,
                                     SymbolVersion version) const {
  return DrawFunctionPatternsInto(functionMatrix, stride, version);
}

void PlaceCodewordBits(std::span<const std::uint8_t> functionMatrix, int stride, int size,
                       std::span<const std::uint8_t> codewords, int bitCount,
                       std::span<std::uint8_t> dataMatrix) {
  const std::size_t cells = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  if (size <= 0 || stride < size || dataMatrix.size() < cells ||
      functionMatrix.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride)) {
    return;
  }
  bitCount = std::clamp(bitCount, 0, static_cast<int>(std::min<std::size_t>(codewords.size() * 8, 1u << 30)));
  int next = 0;
  WalkFreeModules(functionMatrix, stride, size, [&](int x, int y) {
    std::uint8_t bit = 0;
    if (next < bitCount) {
      bit = static_cast<std::uint8_t>((codewords[static_cast<std::size_t>(next / 8)] >> (7 - next % 8)) & 1);
      ++next;
    }
    dataMatrix[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)] = bit;
  });
}

void BuildSymbolLayout(int version, SymbolLayout& layout) {
  const int s = tables::SymbolSize(version);
  const int stride = s + 3;
  const std::size_t cells = static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride);
  layout.version = version;
  layout.size = s;
  layout.stride = stride;

  std::vector<std::uint8_t>& marks = layout.functionModules;
  marks.assign(cells, kFreeModule);
  DrawFunctionPatternsInto(marks, stride, version);

  layout.walk.clear();
  layout.walk.reserve(static_cast<std::size_t>(tables::DataModuleCount(version)));
  WalkFreeModules(marks, stride, s, [&](int x, int y) {
    layout.walk.push_back(static_cast<std::uint16_t>(y * stride + x));
  });

  layout.functionMask.assign(cells, 0xFF);
  for (std::size_t i = 0; i < cells; ++i) {
    const std::size_t x = i % static_cast<std::size_t>(stride);
    const std::size_t y = i / static_cast<std::size_t>(stride);
    if (x < static_cast<std::size_t>(s) && y < static_cast<std::size_t>(s) && marks[i] == kFreeModule) {
      layout.functionMask[i] = 0;
    }
    // Dark function marks stay 1, light ones and free modules become 0.
    marks[i] = marks[i] == kDarkFunction ? 1 : 0;
  }
  if (version >= 7) WriteVersionInformation(marks, stride, s, version);
}

}  // namespace varnelo::qr
