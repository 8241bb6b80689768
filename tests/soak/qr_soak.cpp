// Long run of the QR object as a host program uses it: Generate, the image
// bytes in all five formats and a clipboard copy, over and over. GDI objects,
// USER objects and private memory must not grow.
//
//   qr_soak.exe [CYCLES]    (default 10000)
//
// Wine's TIFF encoder itself keeps about one encoded image per save (a bare
// GdipSaveImageToStream loop shows it), so the TIFF conversions run in a
// phase of their own: there the GDI and USER counts must stay flat and the
// memory may grow only by what the same number of bare library saves costs.
// Prints the figures; exits 1 when anything grew.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "qr/object/qr_code.h"
#include "tests/support/win_resources.h"

namespace {

using namespace varnelo;

constexpr int kTiff = 3;
constexpr std::size_t kMemorySlack = 4u * 1024 * 1024;  // allocator noise, not a leak

struct Figures {
  long gdi = testing::GdiObjectCount();
  long user = testing::UserObjectCount();
  std::size_t memory = testing::PrivateBytes();
};

std::string Address(int i) {
  return "https://campaign.example.com/p/c/17yq18lq3slc?source=SOAK_" + std::to_string(i);
}

// Memory that n bare TIFF saves of a 288 x 288 picture cost the platform.
std::size_t BareTiffCost(int n) {
  namespace gp = Gdiplus::DllExports;
  CLSID tiff{};
  CLSIDFromString(L"{557CF405-1A04-11D3-9A73-0000F81EF32E}", &tiff);
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(288, 288, 0, PixelFormat24bppRGB, nullptr, &bitmap) != Gdiplus::Ok) {
    return 0;
  }
  const std::size_t before = testing::PrivateBytes();
  for (int i = 0; i < n; ++i) {
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) break;
    gp::GdipSaveImageToStream(bitmap, stream, &tiff, nullptr);
    stream->Release();
  }
  const std::size_t after = testing::PrivateBytes();
  gp::GdipDisposeImage(bitmap);
  return after > before ? after - before : 0;
}

void Print(const char* phase, int cycles, int failures, const Figures& start, const Figures& end) {
  std::printf("qr_soak: %s: %d cycles, %d failed; GDI objects %ld -> %ld, USER objects %ld -> %ld, "
              "private KiB %zu -> %zu\n",
              phase, cycles, failures, start.gdi, end.gdi, start.user, end.user, start.memory / 1024,
              end.memory / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const int warmup = std::min(50, cycles / 4 + 1);
  qr::QrCode code;  // also starts the graphics library for the bare saves below
  bool ok = true;

  // Phase 1: Generate, BMP/JPEG/GIF/PNG image bytes and the clipboard.
  auto cycle = [&](int i) {
    if (!code.Generate(Address(i), {.version = 8, .level = 1})) return false;
    for (int format : {0, 1, 2, 4}) {
      if (code.EncodeToImageBytes({.size = 288}, format).empty()) return false;
    }
    return code.CopyToClipboard({.size = 288});
  };
  for (int i = 0; i < warmup; ++i) cycle(i);
  Figures start;
  int failures = 0;
  for (int i = 0; i < cycles; ++i) failures += !cycle(i);
  Figures end;
  Print("generate + BMP, JPEG, GIF, PNG + clipboard", cycles, failures, start, end);
  ok &= failures == 0 && end.gdi == start.gdi && end.user == start.user &&
        end.memory <= start.memory + kMemorySlack;

  // Phase 2: TIFF, capped so that the platform's own leak stays affordable.
  const int tiffCycles = std::min(cycles, 300);
  code.EncodeToImageBytes({.size = 288}, kTiff);
  Figures tiffStart;
  int tiffFailures = 0;
  for (int i = 0; i < tiffCycles; ++i) {
    tiffFailures += code.EncodeToImageBytes({.size = 288}, kTiff).empty();
  }
  Figures tiffEnd;
  const std::size_t bare = BareTiffCost(tiffCycles);
  Print("TIFF image bytes", tiffCycles, tiffFailures, tiffStart, tiffEnd);
  const std::size_t grown = tiffEnd.memory > tiffStart.memory ? tiffEnd.memory - tiffStart.memory : 0;
  std::printf("qr_soak: TIFF memory growth %zu KiB; the same number of bare library saves: %zu KiB\n",
              grown / 1024, bare / 1024);
  ok &= tiffFailures == 0 && tiffEnd.gdi == tiffStart.gdi && tiffEnd.user == tiffStart.user &&
        grown <= bare + kMemorySlack;

  std::printf("qr_soak: %s\n", ok ? "flat" : "FAILED");
  return ok ? 0 : 1;
}
