// Writes SVG, PostScript and EPS documents of a few encoded messages for
// exports_render_test.sh, which renders them and reads them back with a real
// decoder. Usage: qr_export_render_writer <folder>. For each case it writes
// <name>.svg, <name>.ps, <name>.eps and <name>.txt (the message).
#include <cstdio>
#include <fstream>
#include <string>

#include "qr/object/exports.h"

namespace {

using namespace varnelo::qr;

struct Case {
  const char* name;
  std::string message;
  int version;  // 0: smallest that fits
  int level;
  int margin;
  RgbColor dark, light;
  int svgSize;  // SVG width and height; 0: the drawing's own size
};

bool WriteFile(const std::string& path, const ByteBuffer& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return bool(out) && !bytes.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::string longText;
  for (int i = 0; longText.size() < 600; ++i)
    longText += "Varnelo export line " + std::to_string(i) + ". ";
  // Byte mode near the capacity of version 40 at level L: the largest image.
  std::string largest(2900, ' ');
  for (std::size_t i = 0; i < largest.size(); ++i)
    largest[i] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdef"[i * 7 % 43];
  const Case cases[] = {
      {"hello", "HELLO WORLD", 1, 1, 1, 0x000000, 0xFFFFFF, 0},
      {"url", "https://example.com/campaign?source=news&id=12345", 0, 2, 1, 0x000000, 0xFFFFFF,
       300},
      {"colours", "Colours: dark blue on pale yellow", 0, 3, 2, 0x602000, 0xD0FFFF, 0},
      {"long", longText, 0, 2, 4, 0x000000, 0xFFFFFF, 0},
      {"largest", largest, 40, 1, 1, 0x000000, 0xFFFFFF, 0},
  };
  for (const Case& c : cases) {
    QrEncoder encoder;
    EncodeOptions options;
    options.data =
        std::span(reinterpret_cast<const std::uint8_t*>(c.message.data()), c.message.size());
    options.dataLength = static_cast<int>(c.message.size());
    options.version = c.version;
    options.level = c.level;
    options.darkColour = c.dark;
    options.lightColour = c.light;
    options.marginLeft = options.marginTop = options.marginRight = options.marginBottom = c.margin;
    if (!encoder.EncodeMatrix(options)) {
      std::fprintf(stderr, "%s: encoding failed\n", c.name);
      return 1;
    }
    const SymbolView view = MakeSymbolView(encoder, c.dark, c.light);
    const std::string base = folder + "/" + c.name;
    const ByteBuffer message(c.message.begin(), c.message.end());
    const bool ok = WriteFile(base + ".svg", ExportVector(view, 2, c.svgSize, c.svgSize)) &&
                    WriteFile(base + ".ps", ExportVector(view, 0)) &&
                    WriteFile(base + ".eps", ExportVector(view, 1)) &&
                    WriteFile(base + ".txt", message);
    if (!ok) {
      std::fprintf(stderr, "%s: writing failed\n", c.name);
      return 1;
    }
    std::printf("%s: %d x %d modules\n", c.name, view.width, view.height);
  }
  return 0;
}
