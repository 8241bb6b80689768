// The text and vector documents, checked line by line on small hand-made
// symbols and on an encoded one.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "qr/object/exports.h"

namespace varnelo::qr {
namespace {

// A symbol drawn as text rows: '#' dark, anything else light. at() makes a
// read outside the rows fail the test.
SymbolView GridView(std::vector<std::string> rows, RgbColor dark = 0x000000,
                    RgbColor light = 0xFFFFFF) {
  SymbolView view;
  view.hasCode = true;
  view.height = static_cast<int>(rows.size());
  view.width = static_cast<int>(rows.at(0).size());
  view.darkColour = dark;
  view.lightColour = light;
  view.dark = [rows](int row, int column) {
    return rows.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column - 1)) ==
           '#';
  };
  return view;
}

// A 23 x 23 symbol with a light border one module wide and a diagonal inside.
SymbolView Bordered23() {
  std::vector<std::string> rows(23, std::string(23, '.'));
  for (int i = 1; i < 22; ++i) {
    rows[i][i] = '#';
    rows[i][1] = '#';
  }
  return GridView(rows);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

std::string AsText(const ByteBuffer& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ColorToHex, WritesRedGreenBlueAndIgnoresTheTopByte) {
  const struct {
    RgbColor colour;
    const char* hex;
  } cases[] = {
      {0x000000, "000000"}, {0xFFFFFF, "FFFFFF"},   {0xFF8000, "0080FF"},
      {0x0A0B0C, "0C0B0A"}, {0x12345678, "785634"}, {0xFF000001, "010000"},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorToHex(c.colour), c.hex) << std::hex << c.colour;
}

TEST(FormatNumber, MatchesPrintfG13) {
  std::vector<double> values = {
      0.0,   1.0,    -2.5,      12.5,      100.0 / 23,        2.0 / 3,          1e15,
      1e16,  1e20,   1e-4,      1e-5,      1234567890123.4,   12345678901234.0, -0.0,
      1e300, 5e-324, 255.0 / 7, 0.1 + 0.2, 4503599627370497.0};
  for (int i = 0; i < 400; ++i) values.push_back(i * 288.0 / 57);
  for (double value : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.13g", value);
    EXPECT_EQ(FormatNumber(value), expected) << value;
  }
  EXPECT_EQ(FormatNumber(100.0 / 23), "4.347826086957");
}

TEST(MakeStampId, PrefixTimeAndRandomFillToTwenty) {
  std::mt19937 random(7);
  const StampTime time{2024, 2, 3, 14, 5, 9};
  const std::regex twoRandom("PSQRCD240203140509[A-Z0-9]{2}");
  for (int i = 0; i < 50; ++i) {
    const std::string id = MakeStampId("PS", "QRCD", time, random);
    EXPECT_TRUE(std::regex_match(id, twoRandom)) << id;
  }
  // Prefixes of other lengths: filled up to 20; nothing added at 20 or more.
  EXPECT_TRUE(std::regex_match(MakeStampId("ABCD", "EFG", time, random),
                               std::regex("ABCDEFG240203140509[A-Z0-9]")));
  EXPECT_EQ(MakeStampId("ABCDEFGHIJ", "KLMNOPQRST", time, random),
            "ABCDEFGHIJKLMNOPQRST240203140509");
  EXPECT_EQ(MakeStampId("ABCDEFGH", "", time, random), "ABCDEFGH240203140509");
  EXPECT_EQ(MakeStampId("", "", StampTime{1999, 12, 31, 0, 0, 0}, random).substr(0, 12),
            "991231000000");
  // The clock version: prefix, twelve digits, two characters of the table.
  EXPECT_TRUE(
      std::regex_match(MakeStampId("QR", "EMFC"), std::regex("QREMFC[0-9]{12}[A-Z0-9]{2}")));
}

TEST(MakeStampId, RandomCharactersCoverTheWholeTable) {
  std::mt19937 random(11);
  std::string seen;
  for (int i = 0; i < 2000; ++i) {
    const std::string id = MakeStampId("X", "", StampTime{}, random);
    for (char c : id.substr(13))
      if (seen.find(c) == std::string::npos) seen += c;
  }
  EXPECT_EQ(seen.size(), 36u) << seen;
}

TEST(ToTextArt, CellsRowsAndLineEnds) {
  const SymbolView symbol = GridView({"#..", "..#"});
  const std::string space = "\xA1\xA1", block = "\xA8\x7E", circle = "\xA1\xF1";
  EXPECT_EQ(ToTextArt(symbol), block + space + space + "\r\n" + space + space + block);
  EXPECT_EQ(ToTextArt(symbol, false), ToTextArt(symbol));
  EXPECT_EQ(ToTextArt(symbol, true), circle + space + space + "\r\n" + space + space + circle);
  // Every row is 2 x W bytes; no line end after the last.
  const std::string art = ToTextArt(Bordered23());
  EXPECT_EQ(art.size(), 23u * 46 + 22 * 2);
  EXPECT_NE(art.substr(art.size() - 2), "\r\n");
}

TEST(ExportVector, PostScriptDocument) {
  const SymbolView symbol = GridView({"#..", "..#"}, 0x0000FF, 0xFFFFFF);
  const std::string ps = AsText(ExportVector(symbol));
  const std::vector<std::string> lines = Lines(ps);
  ASSERT_EQ(lines.size(), 11u) << ps;
  EXPECT_EQ(lines[0], "%!PS");
  EXPECT_EQ(lines[1], "%%TALVERN");
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("%!PSQRCD[0-9]{12}[A-Z0-9]{2}"))) << lines[2];
  EXPECT_EQ(lines[3], "3 2 scale");
  EXPECT_EQ(lines[4], "3 2 8 [3 0 0 -2 0 2]");
  EXPECT_EQ(lines[5], "{<");
  EXPECT_EQ(lines[6], "FF0000FFFFFFFFFFFF");
  EXPECT_EQ(lines[7], "FFFFFFFFFFFFFF0000");
  EXPECT_EQ(lines[8], ">}");
  EXPECT_EQ(lines[9], "false 3 colorimage");
  EXPECT_EQ(lines[10], "showpage");  // and no line end after it
}

TEST(ExportVector, PostScriptOf23By23) {
  const std::vector<std::string> lines = Lines(AsText(ExportVector(Bordered23(), 0)));
  ASSERT_EQ(lines.size(), 6u + 23 + 3);
  EXPECT_EQ(lines[3], "23 23 scale");
  EXPECT_EQ(lines[4], "23 23 8 [23 0 0 -23 0 23]");
  for (int row = 0; row < 23; ++row) EXPECT_EQ(lines[6 + row].size(), 138u) << row;
  EXPECT_EQ(lines[6], std::string(138, 'F'));
  EXPECT_EQ(lines[6 + 22], std::string(138, 'F'));
  // Row 2: the dark column 2 and the diagonal meet in one dark module.
  EXPECT_EQ(lines[7], "FFFFFF000000" + std::string(126, 'F'));
}

TEST(ExportVector, EpsDocument) {
  const SymbolView symbol = GridView({"#..", "..#"}, 0x0000FF, 0xFFFFFF);
  EXPECT_EQ(AsText(ExportVector(symbol, 1)),
            "%!PS-Adobe-2.0 EPSF-2.0\n"
            "%%BoundingBox: 0 0 3 2\n"
            "/DeviceRGB setcolorspace\n"
            "gsave\n"
            "<< /ImageType 1\n"
            "/Width 3 /Height 2\n"
            "/ImageMatrix [1 0 0 1 0 0]\n"
            "/BitsPerComponent 8\n"
            "/Decode [0 1 0 1 0 1]\n"
            "/DataSource currentfile /ASCIIHexDecode filter\n"
            ">> image\n"
            "FF0000FFFFFFFFFFFF\n"
            "FFFFFFFFFFFFFF0000\n"
            ">\n"
            "grestore\n");
}

TEST(ExportVector, SvgDocument) {
  const SymbolView symbol = GridView({"#.", ".#"}, 0x00FF00, 0xFFFFFF);
  EXPECT_EQ(AsText(ExportVector(symbol, 2)),
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
            "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"2\" height=\"2\">\n"
            "<rect x=\"0\" y=\"0\" width=\"1\" height=\"1\" fill=\"#00FF00\" />\n"
            "<rect x=\"1\" y=\"0\" width=\"1\" height=\"1\" fill=\"#FFFFFF\" />\n"
            "<rect x=\"0\" y=\"1\" width=\"1\" height=\"1\" fill=\"#FFFFFF\" />\n"
            "<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\" fill=\"#00FF00\" />\n"
            "</svg>");
}

TEST(ExportVector, SvgSizeArguments) {
  const struct {
    std::optional<int> width, height;
    const char* svgSize;
    const char* moduleSize;
    const char* lastRect;
  } cases[] = {
      {std::nullopt, std::nullopt, "width=\"23\" height=\"23\"", "width=\"1\" height=\"1\"",
       "x=\"22\" y=\"22\""},
      {100, std::nullopt, "width=\"100\" height=\"23\"", "width=\"4.347826086957\" height=\"1\"",
       "x=\"95.65217391304\" y=\"22\""},
      {0, -5, "width=\"23\" height=\"23\"", "width=\"1\" height=\"1\"", "x=\"22\" y=\"22\""},
      {-1, 46, "width=\"23\" height=\"46\"", "width=\"1\" height=\"2\"", "x=\"22\" y=\"44\""},
  };
  for (const auto& c : cases) {
    const std::string svg = AsText(ExportVector(Bordered23(), 2, c.width, c.height));
    const std::vector<std::string> lines = Lines(svg);
    ASSERT_EQ(lines.size(), 3u + 23 * 23 + 1);
    EXPECT_NE(lines[2].find(c.svgSize), std::string::npos) << lines[2];
    for (std::size_t i = 3; i < 3 + 23 * 23; ++i)
      ASSERT_NE(lines[i].find(c.moduleSize), std::string::npos) << lines[i];
    EXPECT_NE(lines[3 + 23 * 23 - 1].find(c.lastRect), std::string::npos) << lines[3 + 23 * 23 - 1];
  }
}

TEST(ExportHtml, ContainerAndOneDivPerModule) {
  const SymbolView symbol = GridView({"#."}, 0x0000FF, 0xEEDDCC);
  EXPECT_EQ(ExportHtml(symbol, 10, 4),
            "<div style=\"position:relative;overflow:hidden;width:10px;height:4px;"
            "background-color:#CCDDEE\">"
            "<div style=\"position:absolute;overflow:hidden;left:0px;top:0px;width:5px;"
            "height:4px;background-color:#FF0000\"></div>"
            "<div style=\"position:absolute;overflow:hidden;left:5px;top:0px;width:5px;"
            "height:4px;background-color:#CCDDEE\"></div>"
            "</div>");
  const std::string html = ExportHtml(GridView({"#..", "...", "..#"}), 10, 10);
  EXPECT_NE(html.find("left:6.666666666667px;top:6.666666666667px;width:3.333333333333px;"
                      "height:3.333333333333px;background-color:#000000"),
            std::string::npos)
      << html;
}

TEST(Exports, NoCodeGivesEmptyResults) {
  SymbolView none;
  SymbolView emptyArea = GridView({"#"});
  emptyArea.width = 0;  // negative margins can leave no area
  for (const SymbolView& symbol : {none, emptyArea}) {
    EXPECT_EQ(ToTextArt(symbol), "");
    for (std::int16_t format = 0; format <= 4; ++format)
      EXPECT_TRUE(ExportVector(symbol, format).empty()) << format;
  }
  EXPECT_EQ(ExportHtml(none, 50, 60),
            "<div style=\"position:relative;overflow:hidden;width:50px;height:60px;"
            "background-color:#FFFFFF\"></div>");
}

TEST(ExportVector, FormatOutsideRangeGivesEmptyBuffer) {
  const SymbolView symbol = Bordered23();
  for (int format : {5, -1, 32767, -32768})
    EXPECT_TRUE(ExportVector(symbol, static_cast<std::int16_t>(format)).empty()) << format;
#ifndef _WIN32
  // No metafiles outside Windows.
  EXPECT_TRUE(ExportVector(symbol, 3).empty());
  EXPECT_TRUE(ExportVector(symbol, 4).empty());
#endif
}

// The view of an encoder reads its ModuleAt, margins included.
TEST(MakeSymbolView, FollowsTheEncoder) {
  QrEncoder encoder;
  EXPECT_FALSE(MakeSymbolView(encoder).hasCode);
  EXPECT_TRUE(ExportVector(MakeSymbolView(encoder)).empty());

  const std::string message = "HELLO WORLD";
  EncodeOptions options;
  options.data = std::span(reinterpret_cast<const std::uint8_t*>(message.data()), message.size());
  options.dataLength = static_cast<int>(message.size());
  options.version = 1;
  options.level = 1;
  options.marginLeft = options.marginTop = options.marginRight = options.marginBottom = 1;
  ASSERT_TRUE(encoder.EncodeMatrix(options));
  const SymbolView view = MakeSymbolView(encoder, 0x000000, 0xFFFFFF);
  ASSERT_TRUE(view.hasCode);
  EXPECT_EQ(view.width, 23);
  EXPECT_EQ(view.height, 23);

  const std::vector<std::string> lines = Lines(AsText(ExportVector(view)));
  ASSERT_EQ(lines.size(), 6u + 23 + 3);
  EXPECT_EQ(lines[3], "23 23 scale");
  EXPECT_EQ(lines[4], "23 23 8 [23 0 0 -23 0 23]");
  EXPECT_EQ(lines[6], std::string(138, 'F'));
  EXPECT_EQ(lines[6 + 22], std::string(138, 'F'));
  for (int row = 1; row <= 23; ++row) {
    ASSERT_EQ(lines[5 + row].size(), 138u);
    for (int column = 1; column <= 23; ++column)
      EXPECT_EQ(lines[5 + row].substr(6 * (column - 1), 6),
                encoder.ModuleAt(row, column) ? "000000" : "FFFFFF")
          << row << "," << column;
  }

  // Unequal margins: the top-left finder starts at (top + 1, left + 1).
  options.marginLeft = 3;
  options.marginTop = 2;
  options.marginRight = 0;
  options.marginBottom = 4;
  ASSERT_TRUE(encoder.EncodeMatrix(options));
  const SymbolView shifted = MakeSymbolView(encoder);
  EXPECT_EQ(shifted.width, 24);
  EXPECT_EQ(shifted.height, 27);
  EXPECT_FALSE(shifted.Dark(2, 3));
  EXPECT_TRUE(shifted.Dark(3, 4));
  EXPECT_TRUE(shifted.Dark(3, 24));
}

}  // namespace
}  // namespace varnelo::qr
