// qrbench: message bytes to the finished module matrix, our encoder side by
// side with libqrencode and qrcodegen in one run. Each benchmark is named
// <case>/<implementation>; after the run a table gives, per case, the time of
// each peer divided by ours and our time per module.
//
// The work compared: qrcodegen encodes with its mask fixed to 0, like ours;
// libqrencode has no way to fix the mask and always scores all eight.
#include <benchmark/benchmark.h>
#include <qrcodegen.hpp>
#include <qrencode.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace {

using varnelo::qr::EncodeOptions;
using varnelo::qr::QrEncoder;

struct Case {
  std::string name;
  std::string text;
  int version;  // 0: the smallest that fits
  int level;    // 1..4 (L, M, Q, H)
};

// Readable text of exactly `length` bytes, lower case so that all three
// encoders use one byte segment.
std::string Prose(std::size_t length) {
  static const std::string kWords =
      "the quick campaign page opens when the code is scanned and shows the offer of the season to every "
      "visitor who comes from a partner app a news client or a city service portal ";
  std::string out;
  while (out.size() < length) out += kWords;
  out.resize(length);
  return out;
}

std::string CampaignAddress() {
  std::string address = "https://campaign.example.com/spring/landing?source=partner-0042&x=";
  address.resize(64, '7');
  return address;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"campaign64_v8L", CampaignAddress(), 8, 1},
      {"text2900_v40L", Prose(2900), 40, 1},
      {"auto10_M", Prose(10), 0, 2},
      {"auto100_M", Prose(100), 0, 2},
      {"auto1000_M", Prose(1000), 0, 2},
  };
  return cases;
}

qrcodegen::QrCode::Ecc PeerLevel(int level) {
  using Ecc = qrcodegen::QrCode::Ecc;
  static const Ecc levels[] = {Ecc::LOW, Ecc::MEDIUM, Ecc::QUARTILE, Ecc::HIGH};
  return levels[level - 1];
}

QRecLevel LibqrencodeLevel(int level) {
  static const QRecLevel levels[] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};
  return levels[level - 1];
}

// Our encoder, mask pattern 0 (its only pattern unless one is asked for).
void Varnelo(benchmark::State& state, const Case& c) {
  QrEncoder encoder;
  const std::vector<std::uint8_t> data(c.text.begin(), c.text.end());
  EncodeOptions options;
  options.data = data;
  options.dataLength = static_cast<int>(data.size());
  options.version = c.version;
  options.level = c.level;
  options.mask = 0;
  options.allowKanji = false;
  for (auto _ : state) {
    if (!encoder.EncodeMatrix(options)) {
      state.SkipWithError("encode failed");
      break;
    }
    benchmark::DoNotOptimize(encoder.Matrix().cells.data());
  }
  state.counters["modules"] = encoder.Matrix().size * encoder.Matrix().size;
}

// qrcodegen with its mask fixed to 0, so that it scores no masks either.
void Qrcodegen(benchmark::State& state, const Case& c) {
  const int minVersion = c.version ? c.version : 1;
  const int maxVersion = c.version ? c.version : 40;
  for (auto _ : state) {
    const auto segments = qrcodegen::QrSegment::makeSegments(c.text.c_str());
    const qrcodegen::QrCode code =
        qrcodegen::QrCode::encodeSegments(segments, PeerLevel(c.level), minVersion, maxVersion, 0, false);
    benchmark::DoNotOptimize(code.getSize());
  }
}

// libqrencode offers no way to fix the mask: it always scores all eight.
void Libqrencode(benchmark::State& state, const Case& c) {
  for (auto _ : state) {
    QRcode* code = QRcode_encodeString(c.text.c_str(), c.version, LibqrencodeLevel(c.level), QR_MODE_8, 1);
    if (!code) {
      state.SkipWithError("encode failed");
      break;
    }
    benchmark::DoNotOptimize(code->data);
    QRcode_free(code);
  }
}

// Collects the CPU time of every run while the console reporter prints it;
// on a shared machine CPU time is the steadier measure.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colour only on a terminal, so that saved output stays plain text.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With --benchmark_repetitions the median stands for the case.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      const std::string name = run.run_name.str();
      const auto slash = name.rfind('/');
      const std::string caseName = name.substr(0, slash);
      auto& entry = times_[caseName][name.substr(slash + 1)];
      if (median || !entry.fromMedian) entry = {run.GetAdjustedCPUTime(), median};
      if (const auto it = run.counters.find("modules"); it != run.counters.end()) modules_[caseName] = it->second;
    }
  }

  void PrintRatios() const {
    std::printf("\n%-16s %12s %12s %12s %10s %10s %12s\n", "case", "varnelo", "libqrencode", "qrcodegen",
                "lib/ours", "gen/ours", "ours/module");
    for (const Case& c : Cases()) {
      const auto it = times_.find(c.name);
      if (it == times_.end()) continue;
      const auto& t = it->second;
      auto time = [&](const char* impl) {
        const auto found = t.find(impl);
        return found == t.end() ? 0.0 : found->second.time;
      };
      const double ours = time("varnelo");
      const double modules = modules_.count(c.name) ? modules_.at(c.name) : 0.0;
      std::printf("%-16s %12.0f %12.0f %12.0f %9.1fx %9.1fx %12.2f\n", c.name.c_str(), ours, time("libqrencode"),
                  time("qrcodegen"), ours > 0 ? time("libqrencode") / ours : 0.0,
                  ours > 0 ? time("qrcodegen") / ours : 0.0, modules > 0 ? ours / modules : 0.0);
    }
    std::printf("(CPU time per encode in the unit of the table above; ratio = peer / ours, above 1 means ours\n"
                " is faster; ours/module = our time divided by the modules of the symbol)\n");
  }

 private:
  struct Time {
    double time = 0;
    bool fromMedian = false;
  };
  std::map<std::string, std::map<std::string, Time>> times_;
  std::map<std::string, double> modules_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Case& c : Cases()) {
    benchmark::RegisterBenchmark((c.name + "/varnelo").c_str(), Varnelo, c);
    benchmark::RegisterBenchmark((c.name + "/libqrencode").c_str(), Libqrencode, c);
    benchmark::RegisterBenchmark((c.name + "/qrcodegen").c_str(), Qrcodegen, c);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
