#include "draw/encoders.h"

#include <cstddef>
#include <cstring>

#include "draw/text_convert.h"

namespace varnelo::draw {

namespace {

// Bytes of one value of each library value type (1 byte, 2 ASCII, 3 short,
// 4 long, 5 rational, 6 long range, 7 undefined, 8 rational range).
constexpr std::size_t kValueSizes[] = {0, 1, 1, 2, 4, 8, 8, 1, 16};

constexpr std::size_t kEntriesOffset = offsetof(native::EncoderParameters, Parameter);

std::size_t ValueSize(std::uint32_t type) { return type < std::size(kValueSizes) ? kValueSizes[type] : 0; }

}  // namespace

CLSID FindEncoder(const GuidText& formatId) {
  UINT count = 0;
  UINT size = 0;
  if (native::flat::GdipGetImageEncodersSize(&count, &size) != native::Ok || size == 0) return CLSID{};
  std::vector<std::uint64_t> buffer((size + 7) / 8);
  auto* codecs = reinterpret_cast<native::ImageCodecInfo*>(buffer.data());
  if (native::flat::GdipGetImageEncoders(count, size, codecs) != native::Ok) return CLSID{};
  for (UINT i = 0; i < count; ++i) {
    if (TextFromGuid(codecs[i].FormatID) == formatId) {
      return GuidFromText(TextFromGuid(codecs[i].Clsid));
    }
  }
  return CLSID{};
}

bool EncoderParameterBlock::Build(const EncoderParameterList& list) {
  for (const EncoderParameter& entry : list.entries) {
    const std::size_t each = ValueSize(entry.type);
    if (each == 0 || entry.values.size() / each < entry.numberOfValues) return false;
  }
  const std::size_t bytes = kEntriesOffset + list.entries.size() * sizeof(native::EncoderParameter);
  storage_.assign((bytes + 7) / 8, 0);
  auto* block = reinterpret_cast<native::EncoderParameters*>(storage_.data());
  block->Count = static_cast<UINT>(list.entries.size());
  auto* entries =
      reinterpret_cast<native::EncoderParameter*>(reinterpret_cast<std::uint8_t*>(storage_.data()) + kEntriesOffset);
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const EncoderParameter& entry = list.entries[i];
    entries[i].Guid = GuidFromText(entry.guid);
    entries[i].NumberOfValues = entry.numberOfValues;
    entries[i].Type = entry.type;
    entries[i].Value = const_cast<std::uint8_t*>(entry.values.data());
  }
  return true;
}

const native::EncoderParameters* EncoderParameterBlock::get() const {
  return storage_.empty() ? nullptr : reinterpret_cast<const native::EncoderParameters*>(storage_.data());
}

const native::EncoderParameters* BlockFor(const std::optional<EncoderParameterList>& parameters,
                                          EncoderParameterBlock& block, bool& refused) {
  refused = false;
  if (!parameters) return nullptr;
  if (!block.Build(*parameters)) {
    refused = true;
    return nullptr;
  }
  return block.get();
}

EncoderParameterList ReadEncoderParameters(const std::uint8_t* block, std::size_t size) {
  EncoderParameterList list;
  if (!block || size < kEntriesOffset) return list;
  UINT count = 0;
  std::memcpy(&count, block, sizeof count);
  const std::size_t fits = (size - kEntriesOffset) / sizeof(native::EncoderParameter);
  if (count > fits) count = static_cast<UINT>(fits);
  for (UINT i = 0; i < count; ++i) {
    native::EncoderParameter entry;
    std::memcpy(&entry, block + kEntriesOffset + i * sizeof entry, sizeof entry);
    list.entries.push_back({TextFromGuid(entry.Guid), entry.NumberOfValues, entry.Type, {}});
  }
  return list;
}

}  // namespace varnelo::draw
