// Runs the qrgen binary: exit codes and messages, usage errors, standard
// input, output files that are never left half written, and a symbol read
// back by zbarimg.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class QrgenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Several build trees may run this test at once: one folder per process.
    dir_ = fs::path(::testing::TempDir()) /
           ("qrgen_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs qrgen with `arguments`; standard input from `input` when given,
  // else from /dev/null.
  Outcome Run(const std::vector<std::string>& arguments, const std::string* input = nullptr) const {
    std::string command = Quote(QRGEN_PATH);
    for (const std::string& a : arguments) command += " " + Quote(a);
    std::string in = "/dev/null";
    if (input) {
      in = (dir_ / "stdin.bin").string();
      WriteFile(in, *input);
    }
    command += " < " + Quote(in) + " > " + Quote((dir_ / "stdout.bin").string()) + " 2> " +
               Quote((dir_ / "stderr.txt").string());
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(dir_ / "stdout.bin");
    outcome.err = ReadFile(dir_ / "stderr.txt");
    fs::remove(dir_ / "stdout.bin");
    fs::remove(dir_ / "stderr.txt");
    fs::remove(dir_ / "stdin.bin");
    return outcome;
  }

  // Files left in the test directory, by name.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

// The PBM qrgen should write for `data`, made from the library's matrix.
std::string ExpectedPbm(const Bytes& data, int level, int margin, int scale, bool allowKanji = false) {
  QrEncoder encoder;
  EncodeOptions options;
  options.data = data;
  options.dataLength = static_cast<int>(data.size());
  options.level = level;
  options.allowKanji = allowKanji;
  if (!encoder.EncodeMatrix(options)) return "encode failed";
  const ModuleMatrix& m = encoder.Matrix();
  const int side = (m.size + 2 * margin) * scale;
  std::string out = "P4\n" + std::to_string(side) + " " + std::to_string(side) + "\n";
  const int rowBytes = (side + 7) / 8;
  for (int py = 0; py < side; ++py) {
    std::string row(rowBytes, '\0');
    for (int px = 0; px < side; ++px) {
      const int x = px / scale - margin, y = py / scale - margin;
      if (x >= 0 && y >= 0 && x < m.size && y < m.size && m.At(x, y)) row[px / 8] |= static_cast<char>(0x80 >> (px % 8));
    }
    out += row;
  }
  return out;
}

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST_F(QrgenTest, UsageErrorsExitWithTwoAndTheUsage) {
  struct Row {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"--bogus", "x"}, "unknown option '--bogus'"},
      {{"x", "-v"}, "option -v needs a value"},
      {{"-v", "41", "x"}, "invalid value '41' for -v (expected 0..40)"},
      {{"--version=-1", "x"}, "invalid value '-1' for --version (expected 0..40)"},
      {{"-v", "7x", "x"}, "invalid value '7x' for -v"},
      {{"-l", "X", "x"}, "invalid value 'X' for -l (expected L, M, Q or H)"},
      {{"-m", "8", "x"}, "invalid value '8' for -m (expected 0..7)"},
      {{"--margin", "-1", "x"}, "invalid value '-1' for --margin"},
      {{"-s", "0", "x"}, "invalid value '0' for -s"},
      {{"-t", "gif", "x"}, "unknown image type 'gif'"},
      {{"one", "two"}, "more than one TEXT given"},
      {{"--kanji=yes", "x"}, "option --kanji takes no value"},
      {{"-o", "", "x"}, "invalid value '' for -o"},
      {{"--circles", "x"}, "--circles needs the txt type"},
      {{"--width", "10", "-t", "eps", "x"}, "--width and --height need an svg or html type"},
      {{"-t", "svg", "--logo", "logo.png", "x"}, "--logo needs a raster image type"},
      {{"-t", "svg", "--height", "0", "x"}, "invalid value '0' for --height"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    const Outcome outcome = Run(row.arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("qrgen: " + row.message), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("Usage: qrgen"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
  }
  EXPECT_EQ(Files(), std::vector<std::string>{});
}

TEST_F(QrgenTest, HelpGoesToStandardOutput) {
  for (const char* flag : {"-h", "--help"}) {
    const Outcome outcome = Run({flag});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out.rfind("Usage: qrgen [options] [TEXT]\n", 0), 0U);
    EXPECT_NE(outcome.out.find("pbm"), std::string::npos);
    EXPECT_EQ(outcome.err, "");
  }
}

// TEXT, "-" and no TEXT give the same symbol; standard input is read as
// bytes, NUL and 0xFF included; options may follow TEXT.
TEST_F(QrgenTest, WritesTheLibrarysSymbolFromTextOrStandardInput) {
  const std::string binary("A\0B\r\n\xFF\x1A tail", 11);
  struct Row {
    std::vector<std::string> arguments;
    const std::string* input;
    Bytes data;
    int level, margin, scale;
  };
  const std::string hello = "HELLO WORLD";
  const std::vector<Row> rows = {
      {{"HELLO WORLD"}, nullptr, ToBytes(hello), 2, 4, 4},
      {{"-"}, &hello, ToBytes(hello), 2, 4, 4},
      {{}, &hello, ToBytes(hello), 2, 4, 4},
      {{"HELLO WORLD", "-l", "H", "--margin", "0", "-s", "1"}, nullptr, ToBytes(hello), 4, 0, 1},
      {{"--level=q", "--scale=3", "--margin=2", "-"}, &binary, ToBytes(binary), 3, 2, 3},
      {{"-t", "pbm", "--", "-v"}, nullptr, ToBytes("-v"), 2, 4, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.arguments));
    const Outcome outcome = Run(row.arguments, row.input);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, ExpectedPbm(row.data, row.level, row.margin, row.scale));
  }
}

TEST_F(QrgenTest, DataThatDoesNotFitExitsWithOneAndSaysHowMuchFits) {
  const std::string big(2 << 20, 'a');
  struct Row {
    std::vector<std::string> arguments;
    const std::string* input;
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"-v", "1", "-l", "H", "abcdefgh"}, nullptr,
       "qrgen: 8 bytes of data do not fit version 1 at level H; version 1-H holds the first 7 of them\n"},
      {{"-v", "1", "-l", "L", std::string(42, '7')}, nullptr,
       "qrgen: 42 bytes of data do not fit version 1 at level L; version 1-L holds the first 41 of them\n"},
      {{"-l", "H", std::string(1274, 'a')}, nullptr,
       "qrgen: 1274 bytes of data do not fit any version at level H; the largest, version 40-H, holds the "
       "first 1273 of them\n"},
      {{}, &big,
       "qrgen: 2097152 bytes of data do not fit any version at level M; the largest, version 40-M, holds the "
       "first 2331 of them\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.begin(), {"-o", (dir_ / "out.pbm").string()});
    const Outcome outcome = Run(arguments, row.input);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, row.message);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(Files(), std::vector<std::string>{}) << "no output file on failure";
  }
}

TEST_F(QrgenTest, OutputFileIsReplacedOnlyOnSuccess) {
  const fs::path target = dir_ / "code.pbm";
  WriteFile(target, "keep me");

  // Failing runs leave the old file and nothing else behind.
  EXPECT_EQ(Run({"-o", target.string(), "-v", "1", std::string(100, 'x')}).status, 1);
  EXPECT_EQ(Run({"-o", target.string(), "-m", "9", "x"}).status, 2);
  EXPECT_EQ(ReadFile(target), "keep me");
  EXPECT_EQ(Files(), std::vector<std::string>{"code.pbm"});

  // A directory or a missing folder as the target: exit 3, nothing created.
  fs::create_directory(dir_ / "folder");
  const Outcome intoDirectory = Run({"-o", (dir_ / "folder").string(), "x"});
  EXPECT_EQ(intoDirectory.status, 3);
  EXPECT_NE(intoDirectory.err.find("qrgen: cannot replace"), std::string::npos) << intoDirectory.err;
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
  const Outcome missingFolder = Run({"-o", (dir_ / "nowhere" / "x.pbm").string(), "x"});
  EXPECT_EQ(missingFolder.status, 3);
  EXPECT_NE(missingFolder.err.find("qrgen: cannot create"), std::string::npos) << missingFolder.err;
  EXPECT_EQ(Files(), (std::vector<std::string>{"code.pbm", "folder"}));

  // Success replaces the file with the whole image.
  const Outcome ok = Run({"-o", target.string(), "HELLO"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, "");
  EXPECT_EQ(ReadFile(target), ExpectedPbm(ToBytes("HELLO"), 2, 4, 4));
  EXPECT_EQ(Files(), (std::vector<std::string>{"code.pbm", "folder"}));
}

TEST_F(QrgenTest, ZbarimgReadsTheImage) {
  ASSERT_FALSE(std::string(ZBARIMG_PATH).empty()) << "zbarimg is not installed";
  struct Row {
    std::vector<std::string> arguments;
    std::string text;
  };
  const std::vector<Row> rows = {
      {{"HELLO WORLD", "-l", "Q", "-o", "x.pbm"}, "HELLO WORLD"},
      {{"https://example.com/campaign?id=0123456789", "-v", "8", "-l", "L", "-m", "5", "-o", "x.pbm"},
       "https://example.com/campaign?id=0123456789"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    std::vector<std::string> arguments = row.arguments;
    arguments.back() = (dir_ / arguments.back()).string();
    ASSERT_EQ(Run(arguments).status, 0);
    const std::string command = Quote(ZBARIMG_PATH) + " --raw -q " + Quote(arguments.back()) + " > " +
                                Quote((dir_ / "decoded.txt").string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(dir_ / "decoded.txt"), row.text + "\n");
  }
}

TEST_F(QrgenTest, VectorDocumentsRenderToCodesThatDecode) {
  ASSERT_FALSE(std::string(ZBARIMG_PATH).empty()) << "zbarimg is not installed";
  struct Row {
    std::string type;
    std::string render;  // renders IN to OUT (PNG)
  };
  const std::vector<Row> rows = {
      {"svg", "rsvg-convert -z 8 -o OUT IN"},
      {"eps", "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pnggray -r600 -sOutputFile=OUT IN"},
      {"ps", "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pnggray -r300 -sOutputFile=OUT IN"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    const fs::path document = dir_ / ("code." + row.type);
    const fs::path png = dir_ / (row.type + ".png");
    ASSERT_EQ(Run({"-t", row.type, "-o", document.string(), "HELLO VECTOR"}).status, 0);
    std::string render = row.render;
    render.replace(render.find("OUT"), 3, Quote(png.string()));
    render.replace(render.find("IN"), 2, Quote(document.string()));
    ASSERT_EQ(std::system(render.c_str()), 0) << render;
    const std::string decode = Quote(ZBARIMG_PATH) + " --raw -q " + Quote(png.string()) + " > " +
                               Quote((dir_ / "decoded.txt").string()) + " 2>/dev/null";
    ASSERT_EQ(std::system(decode.c_str()), 0);
    EXPECT_EQ(ReadFile(dir_ / "decoded.txt"), "HELLO VECTOR\n");
  }
}

TEST_F(QrgenTest, TextArtIsOneUtf8CharacterAModuleWithCrLfRows) {
  // Version 1 (21 modules) with a margin of 2: 25 rows of 25 characters.
  const Outcome blocks = Run({"-t", "txt", "--margin", "2", "-v", "1", "x"});
  ASSERT_EQ(blocks.status, 0);
  EXPECT_EQ(std::count(blocks.out.begin(), blocks.out.end(), '\n'), 24);
  EXPECT_EQ(blocks.out.find("\r\n"), blocks.out.find('\n') - 1);
  EXPECT_NE(blocks.out.substr(blocks.out.size() - 2), "\r\n");
  const std::string firstRow = blocks.out.substr(0, blocks.out.find("\r\n"));
  EXPECT_EQ(firstRow.size(), 25u * 3);  // the margin row: 25 ideographic spaces
  EXPECT_EQ(firstRow.substr(0, 3), "\xE3\x80\x80");
  EXPECT_NE(blocks.out.find("\xE2\x96\x87"), std::string::npos);  // dark modules as blocks
  const Outcome circles = Run({"-t", "txt", "--circles", "x"});
  ASSERT_EQ(circles.status, 0);
  EXPECT_NE(circles.out.find("\xE2\x97\x8F"), std::string::npos);
  EXPECT_EQ(circles.out.find("\xE2\x96\x87"), std::string::npos);
}

}  // namespace
}  // namespace varnelo::qr
