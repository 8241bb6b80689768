#include "draw/image.h"

#include <algorithm>
#include <cstring>

#include "draw/encoders.h"
#include "draw/text_convert.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

constexpr std::uint32_t kPropertyTagFrameDelay = 0x5100;
// The library's property item header (id, length, type, value pointer).
constexpr std::size_t kPropertyHeader = sizeof(native::PropertyItem);
constexpr std::size_t kPaletteHeader = offsetof(native::ColorPalette, Entries);

// Saves through `save`(encoder class ID, parameter block or none).
template <typename Save>
bool SaveWithEncoder(const CLSID& encoder, const std::optional<EncoderParameterList>& parameters, Save save) {
  EncoderParameterBlock block;
  bool refused = false;
  const native::EncoderParameters* params = BlockFor(parameters, block, refused);
  if (refused) return detail::Refuse();
  return save(&encoder, params);
}

}  // namespace

void Image::Release() {
  Dispose();
  stream_.Release();
}

void Image::OnHandleChanged(NativeHandle handle) {
  image_ = static_cast<native::Image*>(handle);
  OnImageHandleChanged(handle);
}

void Image::OnImageHandleChanged(NativeHandle) {}

bool Image::Dispose() {
  if (!image_) return false;
  // The image may read its source bytes until it is gone: dispose it first.
  const bool disposed = ReleaseNative();
  stream_.Release();
  return disposed;
}

int Image::DeleteNative(NativeHandle handle) { return flat::GdipDisposeImage(static_cast<native::Image*>(handle)); }

bool Image::LoadFromFile(const TextBytes& fileName, std::optional<bool> useIcm) {
  const std::wstring name = WideFromAnsi(fileName);
  return CreateNative(useIcm.value_or(false) ? flat::GdipLoadImageFromFileICM : flat::GdipLoadImageFromFile,
                      name.c_str());
}

bool Image::LoadFromFileW(const ByteBuffer& fileName, std::optional<bool> useIcm) {
  const std::wstring name = WideFromBytes(fileName);
  return CreateNative(useIcm.value_or(false) ? flat::GdipLoadImageFromFileICM : flat::GdipLoadImageFromFile,
                      name.c_str());
}

bool Image::LoadFromBytes(const ByteBuffer& bytes, std::optional<bool> useIcm) {
  return LoadThroughStream(stream_, bytes,
                           useIcm.value_or(false) ? flat::GdipLoadImageFromStreamICM : flat::GdipLoadImageFromStream);
}

bool Image::CloneTo(Image& target) const { return CreateInto(target, flat::GdipCloneImage, image_); }

bool Image::GetEncoderParameterList(const GuidText& formatId, EncoderParameterList& list) const {
  const CLSID encoder = FindEncoder(formatId);
  const UINT size = Query(flat::GdipGetEncoderParameterListSize, image_, &encoder);
  if (LastStatus() != kStatusOk) return false;
  std::vector<std::uint64_t> block((size + 7) / 8 + 1, 0);
  auto* params = reinterpret_cast<native::EncoderParameters*>(block.data());
  if (!Call(flat::GdipGetEncoderParameterList, image_, &encoder, size, params)) return false;
  list = ReadEncoderParameters(reinterpret_cast<const std::uint8_t*>(block.data()), size);
  return true;
}

namespace {

// A file save with an encoder that does not exist would still create or
// truncate the file before the library gives up: refuse it before then.
bool SaveImageFile(native::Image* image, const std::wstring& name, const GuidText& formatId,
                   const std::optional<EncoderParameterList>& parameters) {
  const CLSID encoder = FindEncoder(formatId);
  if (encoder == CLSID{}) return detail::Refuse();
  return SaveWithEncoder(encoder, parameters, [&](const CLSID* clsid, auto params) {
    return Call(flat::GdipSaveImageToFile, image, name.c_str(), clsid, params);
  });
}

}  // namespace

bool Image::SaveFile(const TextBytes& fileName, const std::optional<GuidText>& formatId,
                     const std::optional<EncoderParameterList>& parameters) const {
  return SaveImageFile(image_, WideFromAnsi(fileName), formatId.value_or(kImageFormatBmp), parameters);
}

bool Image::SaveFileW(const ByteBuffer& fileName, const std::optional<GuidText>& formatId,
                      const std::optional<EncoderParameterList>& parameters) const {
  return SaveImageFile(image_, WideFromBytes(fileName), formatId.value_or(kImageFormatBmp), parameters);
}

ByteBuffer Image::SaveToBytes(const std::optional<GuidText>& formatId,
                              const std::optional<EncoderParameterList>& parameters) const {
  const GuidText format = formatId ? *formatId : GetRawFormat();
  HGlobalStream sink;
  if (!sink.CreateFromBytes({})) {
    SetLastStatus(kStatusOutOfMemory);
    return {};
  }
  const bool saved = SaveWithEncoder(FindEncoder(format), parameters, [&](const CLSID* encoder, auto params) {
    return Call(flat::GdipSaveImageToStream, image_, sink.GetStream(), encoder, params);
  });
  return saved ? sink.ToBytes() : ByteBuffer{};
}

bool Image::SaveAdd(const EncoderParameterList& parameters) const {
  EncoderParameterBlock block;
  if (!block.Build(parameters)) return detail::Refuse();
  return Call(flat::GdipSaveAdd, image_, block.get());
}

bool Image::SaveAddImage(const Image& image, const EncoderParameterList& parameters) const {
  EncoderParameterBlock block;
  if (!block.Build(parameters)) return detail::Refuse();
  return Call(flat::GdipSaveAddImage, image_, image.image_, block.get());
}

int Image::GetType() const { return static_cast<int>(Query(flat::GdipGetImageType, image_)); }

SizeF Image::GetPhysicalDimension() const {
  SizeF size;
  if (!Call(flat::GdipGetImageDimension, image_, &size.width, &size.height)) return SizeF{};
  return size;
}

ImageBounds Image::GetBounds() const {
  native::RectF rect;
  native::Unit unit{};
  ImageBounds bounds;
  Call(flat::GdipGetImageBounds, image_, &rect, &unit);
  bounds.status = LastStatus();
  if (bounds.status == kStatusOk) {
    bounds.rect = {rect.X, rect.Y, rect.Width, rect.Height};
    bounds.unit = static_cast<int>(unit);
  }
  return bounds;
}

int Image::GetWidth() const { return static_cast<int>(Query(flat::GdipGetImageWidth, image_)); }
int Image::GetHeight() const { return static_cast<int>(Query(flat::GdipGetImageHeight, image_)); }
float Image::GetHorizontalResolution() const { return Query(flat::GdipGetImageHorizontalResolution, image_); }
float Image::GetVerticalResolution() const { return Query(flat::GdipGetImageVerticalResolution, image_); }
int Image::GetFlags() const { return static_cast<int>(Query(flat::GdipGetImageFlags, image_)); }

GuidText Image::GetRawFormat() const {
  GUID format{};
  if (!Call(flat::GdipGetImageRawFormat, image_, &format)) return {};
  return TextFromGuid(format);
}

int Image::GetPixelFormat() const { return static_cast<int>(Query(flat::GdipGetImagePixelFormat, image_)); }

bool Image::GetPalette(Palette& palette) const {
  const INT size = Query(flat::GdipGetImagePaletteSize, image_);
  if (LastStatus() != kStatusOk || size < static_cast<INT>(kPaletteHeader)) return false;
  std::vector<std::uint32_t> buffer((static_cast<std::size_t>(size) + 3) / 4, 0);
  auto* block = reinterpret_cast<native::ColorPalette*>(buffer.data());
  if (!Call(flat::GdipGetImagePalette, image_, block, size)) return false;
  const std::size_t fits = (static_cast<std::size_t>(size) - kPaletteHeader) / sizeof(ArgbColor);
  palette.flags = block->Flags;
  palette.count = block->Count;
  palette.entries.assign(buffer.begin() + 2, buffer.begin() + 2 + std::min<std::size_t>(block->Count, fits));
  return true;
}

bool Image::SetPalette(const Palette& palette) {
  if (palette.count > palette.entries.size()) return detail::Refuse();
  std::vector<std::uint32_t> buffer(2 + std::max<std::size_t>(palette.count, 1), 0);
  buffer[0] = palette.flags;
  buffer[1] = palette.count;
  std::copy_n(palette.entries.begin(), palette.count, buffer.begin() + 2);
  return Call(flat::GdipSetImagePalette, image_, reinterpret_cast<const native::ColorPalette*>(buffer.data()));
}

bool Image::GetThumbnail(int width, int height, Image& target) const {
  native::Image* thumbnail = nullptr;
  if (!Call(flat::GdipGetImageThumbnail, image_, static_cast<UINT>(width), static_cast<UINT>(height), &thumbnail,
            native::GetThumbnailImageAbort{}, static_cast<void*>(nullptr))) {
    return false;
  }
  target.AdoptNativeHandle(thumbnail);
  return true;
}

int Image::GetFrameCount(const GuidText& dimensionId) const {
  const GUID dimension = GuidFromText(dimensionId);
  return static_cast<int>(Query(flat::GdipImageGetFrameCount, image_, &dimension));
}

int Image::GetFrameDimensionsList(std::vector<GuidText>& ids) const {
  const UINT count = Query(flat::GdipImageGetFrameDimensionsCount, image_);
  if (LastStatus() != kStatusOk) return 0;
  std::vector<GUID> guids(count);
  ids.clear();
  if (!Call(flat::GdipImageGetFrameDimensionsList, image_, guids.data(), count)) return static_cast<int>(count);
  for (const GUID& guid : guids) ids.push_back(TextFromGuid(guid));
  return static_cast<int>(count);
}

bool Image::SelectActiveFrame(const GuidText& dimensionId, int index) {
  const GUID dimension = GuidFromText(dimensionId);
  return Call(flat::GdipImageSelectActiveFrame, image_, &dimension, static_cast<UINT>(index));
}

bool Image::RotateFlip(int rotateFlipType) {
  return Call(flat::GdipImageRotateFlip, image_, static_cast<native::RotateFlipType>(rotateFlipType));
}

bool Image::GetFrameDelays(std::vector<std::int32_t>& delays) const {
  PropertyItem item;
  if (!GetPropertyItem(kPropertyTagFrameDelay, item)) return false;
  delays.assign(item.value.size() / 4, 0);
  std::memcpy(delays.data(), item.value.data(), delays.size() * 4);
  return true;
}

bool Image::GetPropertyItem(std::uint32_t id, PropertyItem& item) const {
  const UINT size = Query(flat::GdipGetPropertyItemSize, image_, static_cast<PROPID>(id));
  if (LastStatus() != kStatusOk || size < kPropertyHeader) return false;
  std::vector<std::uint64_t> buffer((size + 7) / 8, 0);
  auto* header = reinterpret_cast<native::PropertyItem*>(buffer.data());
  if (!Call(flat::GdipGetPropertyItem, image_, static_cast<PROPID>(id), size, header)) return false;
  item.id = header->id;
  item.length = header->length;
  item.type = header->type;
  const auto* value = static_cast<const std::uint8_t*>(header->value);
  item.value = value ? ByteBuffer(value, value + header->length) : ByteBuffer{};
  return true;
}

bool Image::SetPropertyItem(const PropertyItem& item) {
  if (item.length > item.value.size()) return detail::Refuse();
  native::PropertyItem header{};
  header.id = item.id;
  header.length = item.length;
  header.type = static_cast<WORD>(item.type);
  header.value = const_cast<std::uint8_t*>(item.value.data());
  return Call(flat::GdipSetPropertyItem, image_, &header);
}

bool Image::RemovePropertyItem(std::uint32_t id) {
  return Call(flat::GdipRemovePropertyItem, image_, static_cast<PROPID>(id));
}

int Image::GetPropertyIdList(std::vector<std::uint32_t>& ids) const {
  const UINT count = Query(flat::GdipGetPropertyCount, image_);
  if (LastStatus() != kStatusOk) return 0;
  std::vector<PROPID> list(count);
  ids.clear();
  if (count > 0 && !Call(flat::GdipGetPropertyIdList, image_, count, list.data())) return 0;
  ids.assign(list.begin(), list.end());
  return static_cast<int>(count);
}

}  // namespace varnelo::draw
