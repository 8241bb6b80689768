#include "app/gdiplus_support.h"

#include <cstring>

namespace varnelo::app {

bool GdiplusSession::Start() {
  if (token_ != 0) return true;
  gp::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
  ULONG_PTR token = 0;
  if (gp::GdiplusStartup(&token, &input, nullptr) != gp::Ok) return false;
  token_ = token;
  return true;
}

void GdiplusSession::Shutdown() {
  if (token_ == 0) return;
  gp::GdiplusShutdown(token_);
  token_ = 0;
}

win::ComPtr<IStream> StreamOnCopy(std::span<const std::uint8_t> bytes) {
  win::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size()));
  if (!memory) return {};
  {
    win::GlobalLockGuard lock(memory.get());
    if (!lock.data()) return {};
    if (!bytes.empty()) std::memcpy(lock.data(), bytes.data(), bytes.size());
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return {};
  memory.release();  // the stream frees it now
  // The block may be larger than asked for; the stream must end with the bytes.
  ULARGE_INTEGER size;
  size.QuadPart = bytes.size();
  stream->SetSize(size);
  return win::ComPtr<IStream>(stream);
}

std::vector<std::uint8_t> ReadableBmpHeader(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  constexpr std::size_t kFileHeader = 14;
  constexpr std::uint32_t kStandardInfoHeader = 40;
  if (copy.size() < kFileHeader + kStandardInfoHeader || copy[0] != 'B' || copy[1] != 'M') return copy;
  auto read32 = [&](std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, &copy[at], 4);
    return value;
  };
  std::uint16_t bitCount;
  std::memcpy(&bitCount, &copy[28], 2);
  const std::uint32_t headerSize = read32(14);
  const std::uint32_t compression = read32(30);
  const std::uint32_t pixelOffset = read32(10);
  // The header sizes the BMP format defines beyond 40 are kept as they are.
  const bool oddSize = headerSize > kStandardInfoHeader && headerSize < 52;
  if (oddSize && compression == BI_RGB && bitCount >= 16 && pixelOffset >= kFileHeader + headerSize &&
      pixelOffset <= copy.size()) {
    std::memcpy(&copy[14], &kStandardInfoHeader, 4);
  }
  return copy;
}

DecodedImage DecodeImage(std::span<const std::uint8_t> bytes) {
  DecodedImage decoded;
  if (bytes.empty()) return decoded;
  decoded.stream = StreamOnCopy(ReadableBmpHeader(bytes));
  if (!decoded.stream) return decoded;
  gp::Image* image = nullptr;
  if (gp::flat::GdipLoadImageFromStream(decoded.stream.get(), &image) != gp::Ok) {
    if (image) gp::flat::GdipDisposeImage(image);
    return DecodedImage{};
  }
  decoded.image.reset(image);
  return decoded;
}

SIZE ImageSize(gp::Image* image) {
  UINT width = 0;
  UINT height = 0;
  if (!image || gp::flat::GdipGetImageWidth(image, &width) != gp::Ok ||
      gp::flat::GdipGetImageHeight(image, &height) != gp::Ok) {
    return SIZE{0, 0};
  }
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

}  // namespace varnelo::app
