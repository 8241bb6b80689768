// SaveToFile: the document on success, the previous file untouched and no
// temporary file left on every failure.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "qr/object/exports.h"

namespace varnelo::qr {
namespace {

namespace fs = std::filesystem;

SymbolView Checkerboard(int size) {
  SymbolView view;
  view.hasCode = true;
  view.width = view.height = size;
  view.dark = [](int row, int column) { return (row + column) % 2 == 0; };
  return view;
}

class SaveToFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() / ("varnelo_export_test_" + std::to_string(stamp));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  int EntryCount() const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++count;
    return count;
  }

  fs::path dir_;
};

TEST_F(SaveToFileTest, WritesAndReplacesTheDocument) {
  const SymbolView symbol = Checkerboard(5);
  const std::string path = PathOf("code.svg");
  ASSERT_TRUE(SaveToFile(symbol, path, 2, 50));
  const ByteBuffer svg = ExportVector(symbol, 2, 50);
  EXPECT_EQ(Read(path), std::string(svg.begin(), svg.end()));

  // Omitted format: PostScript, over the previous file.
  ASSERT_TRUE(SaveToFile(symbol, path));
  EXPECT_EQ(Read(path).rfind("%!PS\n%%TALVERN\n%!PSQRCD", 0), 0u);
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(SaveToFileTest, FailuresLeaveTheExistingFileAlone) {
  const std::string path = PathOf("keep.txt");
  Write(path, "keep me");
  SymbolView none;
  EXPECT_FALSE(SaveToFile(none, path, 0));
  for (int format : {5, -1, 100})
    EXPECT_FALSE(SaveToFile(Checkerboard(5), path, static_cast<std::int16_t>(format))) << format;
#ifndef _WIN32
  EXPECT_FALSE(SaveToFile(Checkerboard(5), path, 3));  // no metafiles here
#endif
  EXPECT_EQ(Read(path), "keep me");
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(SaveToFileTest, UnwritablePathsFail) {
  const SymbolView symbol = Checkerboard(5);
  const std::string folder = PathOf("folder");
  fs::create_directories(folder);
  EXPECT_FALSE(SaveToFile(symbol, "", 2));
  EXPECT_FALSE(SaveToFile(symbol, folder, 2));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_FALSE(SaveToFile(symbol, PathOf("missing/code.svg"), 2));
  EXPECT_FALSE(SaveToFile(symbol, PathOf("a") + std::string(1, '\0') + "b.svg", 2));
  EXPECT_EQ(EntryCount(), 1);  // only the folder
  EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
}  // namespace varnelo::qr
