#include "draw/hglobal_stream.h"

#include <algorithm>
#include <cstring>

namespace varnelo::draw {

namespace {
constexpr UINT kMovableZeroed = GMEM_MOVEABLE | GMEM_ZEROINIT;  // 0x42
}

HGlobalStream& HGlobalStream::operator=(HGlobalStream&& other) noexcept {
  if (this != &other) {
    FreeStream();
    memory_ = std::move(other.memory_);
    stream_ = std::move(other.stream_);
  }
  return *this;
}

IStream* HGlobalStream::CreateFromBytes(const ByteBuffer& bytes, std::optional<int> size) {
  FreeStream();
  const std::size_t blockSize = size ? static_cast<std::size_t>(std::max(*size, 0)) : bytes.size();
  win::GlobalMemory memory(GlobalAlloc(kMovableZeroed, blockSize));
  if (!memory) return nullptr;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), FALSE, &stream)) || !stream) return nullptr;
  win::ComPtr<IStream> owned(stream);
  const std::size_t count = std::min(blockSize, bytes.size());
  if (count > 0) {
    win::GlobalLockGuard lock(memory.get());
    if (!lock.data()) return nullptr;
    locked_ = lock.data();
    std::memcpy(lock.data(), bytes.data(), count);
    locked_ = nullptr;
  }
  memory_ = std::move(memory);
  stream_ = std::move(owned);
  return stream_.get();
}

void HGlobalStream::FreeStream() {
  if (!stream_) return;
  stream_.reset();
  memory_.reset();
  locked_ = nullptr;
}

std::size_t HGlobalStream::GetSize() const { return memory_ ? GlobalSize(memory_.get()) : 0; }

bool HGlobalStream::Attach(IStream* stream) {
  FreeStream();
  if (!stream) return false;
  stream_ = win::ComPtr<IStream>(stream);
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(stream, &memory)) || !memory) return false;
  memory_ = win::GlobalMemory(memory);
  return true;
}

ByteBuffer HGlobalStream::ToBytes() const {
  const std::size_t size = GetSize();
  if (size == 0) return {};
  win::GlobalLockGuard lock(memory_.get());
  if (!lock.data()) return {};
  const auto* data = static_cast<const std::uint8_t*>(lock.data());
  return ByteBuffer(data, data + size);
}

}  // namespace varnelo::draw
