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

DecodedImage DecodeImage(std::span<const std::uint8_t> bytes) {
  DecodedImage decoded;
  if (bytes.empty()) return decoded;
  decoded.stream = StreamOnCopy(bytes);
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
