// The portable image types of qrgen and the table that names every type.
#include "qr/cli/image_writers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "qr/object/exports.h"

namespace varnelo::qr::cli {
namespace {

// Binary PBM (P4): 1 is black, rows packed eight pixels a byte, most
// significant bit first, each row padded to a whole byte.
std::optional<ByteBuffer> MakePbm(const ImageRequest& request, std::string&) {
  const ModuleMatrix& matrix = request.encoder.Matrix();
  const int margin = request.options.margin;
  const int scale = request.options.scale;
  const int modules = matrix.size + 2 * margin;
  const int side = modules * scale;
  const std::string header = "P4\n" + std::to_string(side) + " " + std::to_string(side) + "\n";
  ByteBuffer out(header.begin(), header.end());
  std::vector<std::uint8_t> row((static_cast<std::size_t>(side) + 7) / 8);
  out.reserve(out.size() + row.size() * static_cast<std::size_t>(side));
  for (int my = 0; my < modules; ++my) {
    std::fill(row.begin(), row.end(), std::uint8_t{0});
    const int y = my - margin;
    for (int px = 0; px < side; ++px) {
      const int x = px / scale - margin;
      if (y >= 0 && y < matrix.size && x >= 0 && x < matrix.size && matrix.At(x, y)) {
        row[px / 8] |= static_cast<std::uint8_t>(0x80 >> (px % 8));
      }
    }
    for (int repeat = 0; repeat < scale; ++repeat) out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

template <VectorFormat format>
std::optional<ByteBuffer> MakeVector(const ImageRequest& request, std::string& error) {
  ByteBuffer bytes = ExportVector(MakeSymbolView(request.encoder), static_cast<std::int16_t>(format),
                                  request.options.width, request.options.height);
  if (bytes.empty()) {
    error = "the document could not be made";
    return std::nullopt;
  }
  return bytes;
}

// The HTML fragment; without --width/--height it is as large as the raster
// image would be at --scale.
std::optional<ByteBuffer> MakeHtml(const ImageRequest& request, std::string&) {
  const SymbolView symbol = MakeSymbolView(request.encoder);
  // One size given: the other follows the symbol's proportions.
  const Options& options = request.options;
  const double aspect = static_cast<double>(symbol.height) / symbol.width;
  const int width = options.width.value_or(options.height ? static_cast<int>(*options.height / aspect)
                                                          : symbol.width * options.scale);
  const int height = options.height.value_or(options.width ? static_cast<int>(*options.width * aspect)
                                                           : symbol.height * options.scale);
  const TextBytes html = ExportHtml(symbol, width, height);
  return ByteBuffer(html.begin(), html.end());
}

// The character art. On Windows it is in the ANSI code page, as the module
// makes it; elsewhere the system's text is UTF-8, so its three characters
// (ideographic space and the two dark marks) are written in UTF-8.
std::optional<ByteBuffer> MakeTextArt(const ImageRequest& request, std::string&) {
  const TextBytes art = ToTextArt(MakeSymbolView(request.encoder), request.options.circles);
#ifdef _WIN32
  return ByteBuffer(art.begin(), art.end());
#else
  struct Mapping {
    std::string_view gbk, utf8;
  };
  static constexpr std::array kMappings = {
      Mapping{"\xA1\xA1", "\xE3\x80\x80"},  // U+3000 ideographic space
      Mapping{"\xA1\xF1", "\xE2\x97\x8F"},  // U+25CF black circle
      Mapping{"\xA8\x7E", "\xE2\x96\x87"},  // U+2587 lower seven eighths block
  };
  ByteBuffer out;
  for (std::size_t i = 0; i < art.size();) {
    const auto byte = static_cast<unsigned char>(art[i]);
    if (byte < 0x80) {
      out.push_back(byte);
      ++i;
      continue;
    }
    const std::string_view pair(art.data() + i, std::min<std::size_t>(2, art.size() - i));
    const auto found = std::find_if(kMappings.begin(), kMappings.end(),
                                    [&](const Mapping& m) { return m.gbk == pair; });
    const std::string_view utf8 = found != kMappings.end() ? found->utf8 : std::string_view("?");
    out.insert(out.end(), utf8.begin(), utf8.end());
    i += pair.size();
  }
  return out;
#endif
}

constexpr std::array kPortableTypes = {
    ImageType{"pbm", "binary portable bitmap (P4), --scale pixels a module", MakePbm},
    ImageType{"svg", "SVG drawing (--width/--height size it)", MakeVector<VectorFormat::Svg>, kTakesSize},
    ImageType{"eps", "Encapsulated PostScript", MakeVector<VectorFormat::Eps>},
    ImageType{"ps", "PostScript", MakeVector<VectorFormat::PostScript>},
    ImageType{"html", "HTML fragment (--width/--height in pixels)", MakeHtml, kTakesSize},
    ImageType{"txt", "character art, one character a module (--circles)", MakeTextArt, kTakesCircles},
};

}  // namespace

const ImageType* FindImageType(std::string_view name) {
  for (const ImageType& type : kPortableTypes) {
    if (type.name == name) return &type;
  }
  for (const ImageType& type : PlatformImageTypes()) {
    if (type.name == name) return &type;
  }
  return nullptr;
}

std::string ImageTypeList() {
  std::string out;
  auto list = [&](std::span<const ImageType> types) {
    for (const ImageType& type : types) {
      std::string name(type.name);
      name.resize(8, ' ');
      out += "    " + name + std::string(type.description) + "\n";
    }
  };
  list(kPortableTypes);
  list(PlatformImageTypes());
  return out;
}

}  // namespace varnelo::qr::cli
