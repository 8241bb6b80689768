// A library image, loaded from a file or from bytes, saved through the
// installed encoders. Windows only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "draw/draw_object.h"
#include "draw/hglobal_stream.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

// GetBounds: the library's status code itself (0 = success), the bounds and
// their unit.
struct ImageBounds {
  int status = 0;
  RectF rect;
  int unit = 0;
};

class Image : public DrawObject {
 public:
  Image() = default;
  ~Image() override { Release(); }

  // Dispose, then the stream member (which also goes when no image was made).
  void Release() override;
  void OnHandleChanged(NativeHandle handle) override;

  // Second-level hook, called with every new handle; empty here.
  virtual void OnImageHandleChanged(NativeHandle handle);
  // The release operation: the stream member, then GdipDisposeImage; false
  // without a call when the object holds no image.
  virtual bool Dispose();

  bool LoadFromFile(const TextBytes& fileName, std::optional<bool> useIcm = std::nullopt);
  // fileName: UTF-16 bytes.
  bool LoadFromFileW(const ByteBuffer& fileName, std::optional<bool> useIcm = std::nullopt);
  // Loads from a copy of the bytes, kept in the stream member as long as the
  // image lives. On failure the object keeps what it held.
  bool LoadFromBytes(const ByteBuffer& bytes, std::optional<bool> useIcm = std::nullopt);

  // Operations from CloneTo to GetPropertyIdList are shared with Bitmap.
  // The clone goes to `target` (a handle it held is deleted).
  bool CloneTo(Image& target) const;
  bool GetEncoderParameterList(const GuidText& formatId, EncoderParameterList& list) const;
  // formatId omitted: BMP.
  bool SaveFile(const TextBytes& fileName, const std::optional<GuidText>& formatId = std::nullopt,
                const std::optional<EncoderParameterList>& parameters = std::nullopt) const;
  bool SaveFileW(const ByteBuffer& fileName, const std::optional<GuidText>& formatId = std::nullopt,
                 const std::optional<EncoderParameterList>& parameters = std::nullopt) const;
  // The encoded image; empty when no encoder has the format (omitted: the
  // image's own raw format) or the save fails.
  ByteBuffer SaveToBytes(const std::optional<GuidText>& formatId = std::nullopt,
                         const std::optional<EncoderParameterList>& parameters = std::nullopt) const;
  bool SaveAdd(const EncoderParameterList& parameters) const;
  bool SaveAddImage(const Image& image, const EncoderParameterList& parameters) const;
  int GetType() const;
  SizeF GetPhysicalDimension() const;
  ImageBounds GetBounds() const;
  int GetWidth() const;
  int GetHeight() const;
  float GetHorizontalResolution() const;
  float GetVerticalResolution() const;
  int GetFlags() const;
  GuidText GetRawFormat() const;
  int GetPixelFormat() const;
  bool GetPalette(Palette& palette) const;
  // Passes palette.count entries; refused when there are fewer entries.
  bool SetPalette(const Palette& palette);
  bool GetThumbnail(int width, int height, Image& target) const;
  int GetFrameCount(const GuidText& dimensionId) const;
  // The frame dimension IDs in `ids`; returns their count (0 when unknown).
  int GetFrameDimensionsList(std::vector<GuidText>& ids) const;
  bool SelectActiveFrame(const GuidText& dimensionId, int index);
  bool RotateFlip(int rotateFlipType);
  // One delay per frame in 1/100 s; `delays` untouched when there are none.
  bool GetFrameDelays(std::vector<std::int32_t>& delays) const;
  bool GetPropertyItem(std::uint32_t id, PropertyItem& item) const;
  // Refused when item.length exceeds the value bytes.
  bool SetPropertyItem(const PropertyItem& item);
  bool RemovePropertyItem(std::uint32_t id);
  int GetPropertyIdList(std::vector<std::uint32_t>& ids) const;

 protected:
  int DeleteNative(NativeHandle handle) override;
  native::Image* image() const { return image_; }

  // Loads through `load`(stream, out image) from a copy of the bytes. On
  // success the old image goes (with its source bytes) and `member` keeps
  // the new source bytes; on failure the object keeps what it held.
  template <typename Load>
  bool LoadThroughStream(HGlobalStream& member, const ByteBuffer& bytes, Load load) {
    HGlobalStream source;
    if (!source.CreateFromBytes(bytes)) {
      SetLastStatus(kStatusOutOfMemory);
      return false;
    }
    detail::OutParamT<Load> loaded{};
    if (!detail::Call(load, source.GetStream(), &loaded)) return false;
    const int status = LastStatus();
    Dispose();
    SetLastStatus(status);
    member = std::move(source);
    SetNativeHandle(loaded);
    return true;
  }

 private:
  native::Image* image_ = nullptr;
  HGlobalStream stream_;
};

}  // namespace varnelo::draw
