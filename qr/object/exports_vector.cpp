// The text vector formats (PostScript, EPS, SVG), the format dispatch and
// saving a document to a file.
#include <exception>

#include "qr/object/exports_file.h"
#include "qr/object/metafile.h"

namespace varnelo::qr {

namespace {

// Every module as six hex digits of its colour, one line per image row, each
// line ending with LF.
void AppendHexRows(std::string& out, const SymbolView& symbol) {
  const std::string darkHex = ColorToHex(symbol.darkColour);
  const std::string lightHex = ColorToHex(symbol.lightColour);
  for (int row = 1; row <= symbol.height; ++row) {
    for (int column = 1; column <= symbol.width; ++column)
      out += symbol.Dark(row, column) ? darkHex : lightHex;
    out += '\n';
  }
}

std::size_t HexSize(const SymbolView& symbol) {
  return static_cast<std::size_t>(symbol.height) * (6 * static_cast<std::size_t>(symbol.width) + 1);
}

ByteBuffer ToBytes(const std::string& text) { return ByteBuffer(text.begin(), text.end()); }

// colorimage with the whole image as one hex string; the matrix puts the
// first row at the top of a W x H point area.
std::string PostScriptDocument(const SymbolView& symbol) {
  const std::string w = std::to_string(symbol.width);
  const std::string h = std::to_string(symbol.height);
  std::string ps;
  ps.reserve(HexSize(symbol) + 128);
  ps += "%!PS\n%%TALVERN\n%!" + MakeStampId("PS", "QRCD") + "\n";
  ps += w + " " + h + " scale\n";
  ps += w + " " + h + " 8 [" + w + " 0 0 -" + h + " 0 " + h + "]\n";
  ps += "{<\n";
  AppendHexRows(ps, symbol);
  ps += ">}\nfalse 3 colorimage\nshowpage";
  return ps;
}

// An image dictionary reading hex data from the file itself. The bounding box
// and the closing grestore let other programs place the document.
std::string EpsDocument(const SymbolView& symbol) {
  const std::string w = std::to_string(symbol.width);
  const std::string h = std::to_string(symbol.height);
  std::string eps;
  eps.reserve(HexSize(symbol) + 320);
  eps += "%!PS-Adobe-2.0 EPSF-2.0\n";
  eps += "%%BoundingBox: 0 0 " + w + " " + h + "\n";
  eps += "/DeviceRGB setcolorspace\ngsave\n<< /ImageType 1\n";
  eps += "/Width " + w + " /Height " + h + "\n";
  eps += "/ImageMatrix [1 0 0 1 0 0]\n/BitsPerComponent 8\n/Decode [0 1 0 1 0 1]\n";
  eps += "/DataSource currentfile /ASCIIHexDecode filter\n>> image\n";
  AppendHexRows(eps, symbol);
  eps += ">\ngrestore\n";
  return eps;
}

std::string SvgDocument(const SymbolView& symbol, std::optional<int> width,
                        std::optional<int> height) {
  const int drawingWidth = width.value_or(0) > 0 ? *width : symbol.width;
  const int drawingHeight = height.value_or(0) > 0 ? *height : symbol.height;
  const std::string moduleWidth = FormatNumber(static_cast<double>(drawingWidth) / symbol.width);
  const std::string moduleHeight = FormatNumber(static_cast<double>(drawingHeight) / symbol.height);
  const std::string darkHex = ColorToHex(symbol.darkColour);
  const std::string lightHex = ColorToHex(symbol.lightColour);

  std::string svg;
  svg.reserve(static_cast<std::size_t>(symbol.width) * symbol.height * 64 + 320);
  svg += "<?xml version=\"1.0\"?>\n";
  svg +=
      "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
      "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
         std::to_string(drawingWidth) + "\" height=\"" + std::to_string(drawingHeight) + "\">\n";
  for (int row = 1; row <= symbol.height; ++row) {
    const std::string y =
        FormatNumber(static_cast<double>(row - 1) * drawingHeight / symbol.height);
    for (int column = 1; column <= symbol.width; ++column) {
      svg += "<rect x=\"";
      svg += FormatNumber(static_cast<double>(column - 1) * drawingWidth / symbol.width);
      svg += "\" y=\"" + y + "\" width=\"" + moduleWidth + "\" height=\"" + moduleHeight +
             "\" fill=\"#";
      svg += symbol.Dark(row, column) ? darkHex : lightHex;
      svg += "\" />\n";
    }
  }
  svg += "</svg>";
  return svg;
}

}  // namespace

ByteBuffer ExportVector(const SymbolView& symbol, std::optional<std::int16_t> format,
                        std::optional<int> width, std::optional<int> height) {
  if (!symbol.Drawable()) return {};
  // A document too large for memory is a failed export like any other.
  try {
    switch (static_cast<VectorFormat>(format.value_or(0))) {
      case VectorFormat::PostScript:
        return ToBytes(PostScriptDocument(symbol));
      case VectorFormat::Eps:
        return ToBytes(EpsDocument(symbol));
      case VectorFormat::Svg:
        return ToBytes(SvgDocument(symbol, width, height));
      case VectorFormat::Wmf:
        return ExportWmf(symbol);
      case VectorFormat::Emf:
        return ExportEmf(symbol);
    }
  } catch (const std::exception&) {
  }
  return {};
}

bool SaveToFile(const SymbolView& symbol, const TextBytes& path, std::optional<std::int16_t> format,
                std::optional<int> width, std::optional<int> height) {
  const int code = format.value_or(0);
  if (!symbol.Drawable() || code < 0 || code > 4) return false;
  const ByteBuffer bytes = ExportVector(symbol, format, width.value_or(0), height.value_or(0));
  // An empty document is a failed export (no metafile in this tree, or the
  // platform could not close one); it never replaces a file.
  if (bytes.empty()) return false;
  return WriteExportFile(path, bytes);
}

}  // namespace varnelo::qr
