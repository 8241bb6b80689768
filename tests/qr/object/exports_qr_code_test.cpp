// The QR object's exports read its current code; its builders are the
// payload builders. Windows tree only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "qr/object/qr_code.h"

namespace varnelo::qr {
namespace {

TEST(QrCodeExports, ReadTheCurrentCode) {
  QrCode code;
  ASSERT_TRUE(code.Generate("HELLO", {.version = 1,
                                      .level = 1,
                                      .darkColour = 0x0000FF,
                                      .lightColour = 0xFFEEDD,
                                      .marginLeft = 2}));
  const int width = code.GetImageWidth(), height = code.GetImageHeight();
  ASSERT_EQ(width, 24);
  ASSERT_EQ(height, 23);

  // Character art: one cell per image pixel, dark where the encoder says so.
  const std::string art = code.ToTextArt();
  ASSERT_EQ(art.size(), static_cast<std::size_t>(height) * (2 * width + 2) - 2);
  for (int row = 1; row <= height; ++row)
    for (int column = 1; column <= width; ++column) {
      const std::size_t at = static_cast<std::size_t>(row - 1) * (2 * width + 2) + 2 * (column - 1);
      ASSERT_EQ(art.substr(at, 2), code.Encoder().ModuleAt(row, column) ? "\xA8\x7E" : "\xA1\xA1")
          << row << "," << column;
    }

  // The colours of the object, in every text format; the top-left finder
  // starts at column 3, row 2 of the image.
  const ByteBuffer svg = code.ExportVector(2, 240, 230);
  const std::string svgText(svg.begin(), svg.end());
  EXPECT_NE(svgText.find("width=\"240\" height=\"230\""), std::string::npos);
  EXPECT_NE(svgText.find("<rect x=\"20\" y=\"10\" width=\"10\" height=\"10\" fill=\"#FF0000\" />"),
            std::string::npos);
  EXPECT_NE(code.ExportHtml(24, 23).find("background-color:#DDEEFF\">"), std::string::npos);
  const ByteBuffer ps = code.ExportVector();
  EXPECT_NE(std::string(ps.begin(), ps.end()).find("\n24 23 scale\n"), std::string::npos);
  EXPECT_FALSE(code.ExportVector(3).empty());
  EXPECT_FALSE(code.ExportVector(4).empty());
  EXPECT_TRUE(code.ExportVector(5).empty());
}

TEST(QrCodeExports, NothingWithoutACode) {
  QrCode code;
  EXPECT_EQ(code.ToTextArt(), "");
  for (std::int16_t format = 0; format <= 4; ++format)
    EXPECT_TRUE(code.ExportVector(format).empty());
  EXPECT_EQ(code.ExportHtml(10, 10),
            "<div style=\"position:relative;overflow:hidden;width:10px;height:10px;"
            "background-color:#FFFFFF\"></div>");

  // A failed Generate leaves no code either; the file in the way survives.
  ASSERT_FALSE(code.Generate("HELLO", {.version = 41}));
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "varnelo_no_code.svg";
  std::ofstream(path, std::ios::binary) << "previous";
  EXPECT_FALSE(code.SaveToFile(path.string(), 2));
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "previous");
  in.close();
  std::filesystem::remove(path);
}

TEST(QrCodeExports, SaveToFileWritesTheDocument) {
  QrCode code;
  ASSERT_TRUE(code.Generate("SAVE ME"));
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "varnelo_code.svg";
  ASSERT_TRUE(code.SaveToFile(path.string(), 2, 100));
  std::ifstream in(path, std::ios::binary);
  const ByteBuffer written{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(written, code.ExportVector(2, 100));
  in.close();
  std::filesystem::remove(path);
}

TEST(QrCodeExports, BuildersAreThePayloadBuilders) {
  EXPECT_EQ(QrCode::MakeWifi("N", false, "P", true), "WIFI:S:N;H:True;T:WPA;P:P;;");
  EXPECT_EQ(QrCode::MakeSmtp("x", std::nullopt, "y"), "SMTP:x::y");
  EXPECT_EQ(QrCode::MakeMeCard({.namePart1 = "a", .namePart2 = "b"}), "MECARD:N:a,b;;");
  EXPECT_EQ(QrCode::MakeEvent("S", 45325.0, 45325.5),
            "BEGIN:VEVENT\nSUMMARY:S\nDTSTART:20240203T000000\nDTEND:20240203T120000\nEND:VEVENT");
  // The text goes to Generate like any other.
  QrCode code;
  EXPECT_TRUE(code.Generate(QrCode::MakeVCard({.familyName = "Doe", .givenName = "J"})));
}

}  // namespace
}  // namespace varnelo::qr
