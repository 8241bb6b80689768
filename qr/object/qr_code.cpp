#include "qr/object/qr_code.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>

#include "qr/encode/render_gdi.h"

namespace varnelo::qr {
namespace {

win::Bitmap CopyBitmap(const win::Bitmap& bitmap) {
  if (!bitmap) return {};
  return win::Bitmap(static_cast<HBITMAP>(CopyImage(bitmap.get(), IMAGE_BITMAP, 0, 0, 0)));
}

std::mt19937 SeededFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
  return std::mt19937(seed);
}

}  // namespace

QrCode::QrCode() : random(SeededFromClock()) {}

QrCode::QrCode(const QrCode& other) { CopyFrom(other); }

QrCode& QrCode::operator=(const QrCode& other) {
  if (this != &other) {
    Release();
    CopyFrom(other);
  }
  return *this;
}

QrCode::~QrCode() { DetachAllWindows(); }

void QrCode::CopyFrom(const QrCode& other) {
  encoder = other.encoder.Clone();
  codeBitmap = CopyBitmap(other.codeBitmap);
  codeBmpBytes = other.codeBmpBytes;
  // The windows paint the other object's code; this copy is in none of them.
  attachedWindows.clear();
  logoBitmap = CopyBitmap(other.logoBitmap);
  logoWidth = other.logoWidth;
  logoHeight = other.logoHeight;
  text = other.text;
  inputFlags = other.inputFlags;
  version = other.version;
  level = other.level;
  mask = other.mask;
  darkColour = other.darkColour;
  lightColour = other.lightColour;
  logoImage = other.logoImage;
  marginLeft = other.marginLeft;
  marginBottom = other.marginBottom;
  marginTop = other.marginTop;
  marginRight = other.marginRight;
  if (!gdiplusToken.started()) gdiplusToken = gdiplus::Session();  // never the other's start
  logoBmpBytes = other.logoBmpBytes;
  displayBackgroundBitmap = CopyBitmap(other.displayBackgroundBitmap);
  displayBackgroundBmpBytes = other.displayBackgroundBmpBytes;
  noiseBytes = other.noiseBytes;
  random = other.random;
}

void QrCode::Release() {
  DetachAllWindows();
  codeBitmap.reset();
  displayBackgroundBitmap.reset();
  logoBitmap.reset();
  gdiplusToken.Shutdown();
  encoder.Release();
  codeBmpBytes = {};
  attachedWindows = {};
  text = {};
  logoImage = {};
  logoBmpBytes = {};
  displayBackgroundBmpBytes = {};
  noiseBytes = {};
  // A released object may be used again: it starts over as a new one (the
  // graphics library is started again by the next Generate).
  encoder = QrEncoder();
  logoWidth = logoHeight = 0;
  inputFlags = 0;
  version = 0;
  level = 2;
  mask = -1;
  darkColour = 0x000000;
  lightColour = 0xFFFFFF;
  marginLeft = marginBottom = marginTop = marginRight = 0;
}

bool QrCode::Generate(const TextBytes& newText, const GenerateOptions& options) {
  if (!gdiplusToken.started()) gdiplusToken = gdiplus::Session();  // after Release
  // The previous code is gone whatever the outcome.
  codeBitmap.reset();
  codeBmpBytes = {};

  // Range tests on the values as given; an omitted value passes as 0.
  const int givenVersion = options.version.value_or(0);
  const int givenLevel = options.level.value_or(0);
  const int givenMask = options.mask.value_or(0);
  if (givenVersion < 0 || givenVersion > 40) return false;
  if (givenLevel < 0 || givenLevel > 4) return false;
  if (givenMask < -1 || givenMask > 7) return false;

  // Defaults.
  text = newText;
  inputFlags = options.inputFlags.value_or(0);
  version = static_cast<std::int16_t>(givenVersion);
  level = static_cast<std::int16_t>(options.level.value_or(2));
  mask = static_cast<std::int16_t>(options.mask.value_or(-1));
  darkColour = options.darkColour.value_or(0x000000);
  lightColour = options.lightColour.value_or(0xFFFFFF);
  logoImage = options.logo.value_or(ByteBuffer{});
  marginLeft = options.marginLeft.value_or(1);
  marginBottom = options.marginBottom.value_or(1);
  marginTop = options.marginTop.value_or(1);
  marginRight = options.marginRight.value_or(1);

  // A logo that does not decode leaves the previous one in place.
  if (options.logo) {
    ByteBuffer converted = ConvertImageBytes(*options.logo, 1);
    if (const std::optional<BmpHeader> header = ReadBmpHeader(converted)) {
      const int width = header->width;
      const int height = std::abs(header->height);
      if (win::Bitmap bitmap = BitmapFromImageBytes(converted, width, height)) {
        logoBitmap = std::move(bitmap);
        logoBmpBytes = std::move(converted);
        logoWidth = width;
        logoHeight = height;
      }
    }
  }

  // Kanji segments come back from a decoder as Shift JIS, so they are only
  // right for ANSI bytes of the Japanese code page; UTF-8 never uses them.
  ByteBuffer message;
  EncodeOptions encode;
  if (inputFlags & 1) {
    message.assign(text.begin(), text.end());
    encode.allowKanji = options.allowKanji.value_or(GetACP() == 932);
  } else {
    message = TextToUtf8(text);
    encode.allowKanji = options.allowKanji.value_or(false);
  }
  encode.data = message;
  encode.dataLength = static_cast<int>(std::min<std::size_t>(message.size(), INT_MAX));
  encode.version = version;
  encode.level = level;
  encode.mask = mask;
  encode.darkColour = darkColour;
  encode.lightColour = lightColour;
  encode.marginLeft = marginLeft;
  encode.marginTop = marginTop;
  encode.marginRight = marginRight;
  encode.marginBottom = marginBottom;

  codeBitmap = EncodeSymbol(encoder, encode);
  if (!codeBitmap) return false;
  codeBmpBytes = BitmapToBmpBytes(codeBitmap.get());
  const std::optional<BmpHeader> header = ReadBmpHeader(codeBmpBytes);
  if (!header) {
    codeBmpBytes = {};
    return false;
  }

  const long long pixels = static_cast<long long>(header->width) * std::abs(header->height);
  noiseBytes.resize(static_cast<std::size_t>(pixels * 10 / 8));
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::uint8_t& noise : noiseBytes) noise = static_cast<std::uint8_t>(byte(random));
  return true;
}

int QrCode::GetImageWidth() const {
  const std::optional<BmpHeader> header = ReadBmpHeader(codeBmpBytes);
  return header ? header->width : 0;
}

int QrCode::GetImageHeight() const {
  const std::optional<BmpHeader> header = ReadBmpHeader(codeBmpBytes);
  return header ? header->height : 0;
}

void QrCode::DetachAllWindows() {
  const std::vector<HWND> windows = attachedWindows;
  for (HWND window : windows) DetachFromWindow(window);
  // Windows destroyed meanwhile are forgotten too.
  attachedWindows.clear();
}

}  // namespace varnelo::qr
