// The library's image encoders: finding one by format ID and the encoder
// parameter block. Windows only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

// The class ID of the first installed encoder whose format ID, as text,
// equals `formatId` byte for byte (case matters); 16 zero bytes when none
// does, with which the library's save calls then fail.
CLSID FindEncoder(const GuidText& formatId);

// The library's encoder parameter block, built with the platform's own
// EncoderParameters layout (on x86-64 each entry is 32 bytes: GUID 16,
// count 4, type 4, pointer 8, after an aligned count). The block points into
// the list's value bytes: the list must outlive the block.
class EncoderParameterBlock {
 public:
  // False when an entry's values are fewer bytes than its count and type
  // need, or its type is unknown: the library would read past them.
  bool Build(const EncoderParameterList& list);
  const native::EncoderParameters* get() const;

 private:
  std::vector<std::uint64_t> storage_;
};

// The block for optional parameters: nullptr when none are given or the
// block cannot be built (then `refused` is set).
const native::EncoderParameters* BlockFor(const std::optional<EncoderParameterList>& parameters,
                                          EncoderParameterBlock& block, bool& refused);

// Reads a block the library filled; `size` bounds what is read. Values are
// not copied: only GUID, count and type of each entry.
EncoderParameterList ReadEncoderParameters(const std::uint8_t* block, std::size_t size);

}  // namespace varnelo::draw
