// A library bitmap: an image with pixels the layer can create, read and
// write. Windows only.
#pragma once

#include <optional>

#include "draw/image.h"

namespace varnelo::draw {

class Graphics;

// What ApplyEffect reads from and writes to an effect: the native effect,
// whether it uses auxiliary data, and that data (memory from the library's
// allocator, freed by ApplyEffect before the next call).
class EffectObject {
 public:
  virtual ~EffectObject() = default;
  virtual void* GetNativeHandle() const = 0;
  virtual bool UsesAuxData() const = 0;
  virtual void* GetAuxData() const = 0;
  virtual int GetAuxDataSize() const = 0;
  virtual void SetAuxData(void* data, int size) = 0;
};

class Bitmap : public Image {
 public:
  Bitmap() = default;
  ~Bitmap() override { Release(); }

  void Release() override;
  // The bitmap hook: stores the bitmap handle.
  void OnImageHandleChanged(NativeHandle handle) override;
  // The image, then both stream members.
  bool Dispose() override;

  bool CreateFromFile(const TextBytes& fileName, std::optional<bool> useIcm = std::nullopt);
  bool CreateFromFileW(const ByteBuffer& fileName, std::optional<bool> useIcm = std::nullopt);
  // From a copy of the bytes kept in the bitmap's own stream member.
  bool CreateFromBytes(const ByteBuffer& bytes, std::optional<bool> useIcm = std::nullopt);
  // pixels: width x height in `pixelFormat`, rows `stride` bytes apart, alive
  // as long as the bitmap; nullptr lets the library own the pixels.
  bool CreateFromScan0(int width, int height, int stride, int pixelFormat, void* pixels);
  // Library-owned pixels; pixelFormat omitted: 32 bits per pixel ARGB.
  bool CreateWithSize(int width, int height, std::optional<int> pixelFormat = std::nullopt);
  bool CreateFromGraphics(int width, int height, const Graphics& graphics);
  bool CreateFromGdiDib(const BITMAPINFO* info, void* bits);
  bool CreateFromHBITMAP(HBITMAP bitmap, std::optional<HPALETTE> palette = std::nullopt);
  bool CreateFromHICON(HICON icon);
  bool CreateFromResource(HINSTANCE module, const wchar_t* resourceName);
  // A new GDI bitmap the caller owns; nullptr on failure.
  HBITMAP GetHBITMAP(std::optional<ArgbColor> background = std::nullopt) const;
  HICON GetHICON() const;
  bool CloneArea(const RectF& area, int pixelFormat, Bitmap& target) const;
  bool CloneAreaI(const RectI& area, int pixelFormat, Bitmap& target) const;
  bool LockBits(const RectI* area, unsigned lockFlags, int pixelFormat, native::BitmapData* data);
  bool UnlockBits(native::BitmapData* data);
  ArgbColor GetPixel(int x, int y) const;
  bool SetPixel(int x, int y, ArgbColor color);
  bool SetResolution(float horizontalDpi, float verticalDpi);
  bool ApplyEffect(EffectObject& effect, const RECT* area = nullptr);
  // Turns the bitmap by `angle` degrees onto a new bitmap for `target`, the
  // source centre on the canvas centre; the source is unchanged. size
  // omitted: RotatedSize of the source for the whole-degree angle. True when
  // the source was drawn; otherwise the target keeps what it held.
  bool Rotate(float angle, Bitmap& target, std::optional<ArgbColor> background = std::nullopt,
              std::optional<int> interpolationMode = std::nullopt,
              const std::optional<SizeF>& size = std::nullopt) const;
  // Bounding size of a width x height picture turned by `angle` whole
  // degrees, measured between the corner pixels' centres.
  static SizeF RotatedSize(float width, float height, int angle);

 protected:
  native::Bitmap* bitmap() const { return bitmap_; }

 private:
  native::Bitmap* bitmap_ = nullptr;
  HGlobalStream bitmapStream_;
};

}  // namespace varnelo::draw
