// A block of movable global memory with a stream on it, through which image
// bytes enter and leave the library. The object owns both: the stream is made
// without delete-on-release and FreeStream frees the block itself. Windows
// only.
#pragma once

#include <optional>

#include "draw/native.h"
#include "draw/records.h"
#include "win/handles.h"

namespace varnelo::draw {

class HGlobalStream {
 public:
  HGlobalStream() = default;
  HGlobalStream(HGlobalStream&& other) noexcept = default;
  HGlobalStream& operator=(HGlobalStream&& other) noexcept;
  ~HGlobalStream() { Release(); }

  void Release() { FreeStream(); }

  // A zero-filled block of `size` bytes (omitted: bytes.size()) holding the
  // first min(size, bytes.size()) bytes, and a stream on it at position 0.
  // Any stream held before is freed first. nullptr when memory runs out.
  IStream* CreateFromBytes(const ByteBuffer& bytes, std::optional<int> size = std::nullopt);
  // Releases the stream and frees its block; nothing when none is held.
  void FreeStream();

  // Size of the block in bytes (0 without one).
  std::size_t GetSize() const;
  IStream* GetStream() const { return stream_.get(); }
  HGLOBAL GetHGlobal() const { return memory_.get(); }
  // Takes ownership of a stream on global memory made without
  // delete-on-release. True when its block was found; the stream is kept
  // either way.
  bool Attach(IStream* stream);
  // The whole block as bytes; empty without a block.
  ByteBuffer ToBytes() const;

 private:
  // Declared before the stream, so the stream is released before its block.
  win::GlobalMemory memory_;
  win::ComPtr<IStream> stream_;
  // The pointer of the last lock, while the block is locked.
  void* locked_ = nullptr;
};

}  // namespace varnelo::draw
