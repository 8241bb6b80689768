#include "draw/bitmap.h"

#include <cmath>
#include <memory>

#include "draw/graphics.h"
#include "draw/text_convert.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

// Owners for the native objects Rotate makes along the way; their deletes
// leave the last status alone.
struct GraphicsDeleter {
  void operator()(native::Graphics* graphics) const { flat::GdipDeleteGraphics(graphics); }
};
struct MatrixDeleter {
  void operator()(native::Matrix* matrix) const { flat::GdipDeleteMatrix(matrix); }
};
struct BrushDeleter {
  void operator()(native::Brush* brush) const { flat::GdipDeleteBrush(brush); }
};
struct ImageDeleter {
  void operator()(native::Image* image) const { flat::GdipDisposeImage(image); }
};

}  // namespace

void Bitmap::Release() {
  Image::Release();
  bitmapStream_.Release();
}

void Bitmap::OnImageHandleChanged(NativeHandle handle) { bitmap_ = static_cast<native::Bitmap*>(handle); }

bool Bitmap::Dispose() {
  const bool disposed = Image::Dispose();
  bitmapStream_.Release();
  return disposed;
}

bool Bitmap::CreateFromFile(const TextBytes& fileName, std::optional<bool> useIcm) {
  const std::wstring name = WideFromAnsi(fileName);
  return CreateNative(useIcm.value_or(false) ? flat::GdipCreateBitmapFromFileICM : flat::GdipCreateBitmapFromFile,
                      name.c_str());
}

bool Bitmap::CreateFromFileW(const ByteBuffer& fileName, std::optional<bool> useIcm) {
  const std::wstring name = WideFromBytes(fileName);
  return CreateNative(useIcm.value_or(false) ? flat::GdipCreateBitmapFromFileICM : flat::GdipCreateBitmapFromFile,
                      name.c_str());
}

bool Bitmap::CreateFromBytes(const ByteBuffer& bytes, std::optional<bool> useIcm) {
  return LoadThroughStream(
      bitmapStream_, bytes,
      useIcm.value_or(false) ? flat::GdipCreateBitmapFromStreamICM : flat::GdipCreateBitmapFromStream);
}

bool Bitmap::CreateFromScan0(int width, int height, int stride, int pixelFormat, void* pixels) {
  return CreateNative(flat::GdipCreateBitmapFromScan0, width, height, stride,
                      static_cast<native::PixelFormat>(pixelFormat), static_cast<BYTE*>(pixels));
}

bool Bitmap::CreateWithSize(int width, int height, std::optional<int> pixelFormat) {
  return CreateFromScan0(width, height, 0, pixelFormat.value_or(kPixelFormat32bppArgb), nullptr);
}

bool Bitmap::CreateFromGraphics(int width, int height, const Graphics& graphics) {
  return CreateNative(flat::GdipCreateBitmapFromGraphics, width, height,
                      static_cast<native::Graphics*>(graphics.GetNativeHandle()));
}

bool Bitmap::CreateFromGdiDib(const BITMAPINFO* info, void* bits) {
  return CreateNative(flat::GdipCreateBitmapFromGdiDib, info, bits);
}

bool Bitmap::CreateFromHBITMAP(HBITMAP bitmap, std::optional<HPALETTE> palette) {
  return CreateNative(flat::GdipCreateBitmapFromHBITMAP, bitmap, palette.value_or(nullptr));
}

bool Bitmap::CreateFromHICON(HICON icon) { return CreateNative(flat::GdipCreateBitmapFromHICON, icon); }

bool Bitmap::CreateFromResource(HINSTANCE module, const wchar_t* resourceName) {
  return CreateNative(flat::GdipCreateBitmapFromResource, module, resourceName);
}

HBITMAP Bitmap::GetHBITMAP(std::optional<ArgbColor> background) const {
  HBITMAP result = nullptr;
  if (!Call(flat::GdipCreateHBITMAPFromBitmap, bitmap_, &result, static_cast<native::ARGB>(background.value_or(0)))) {
    return nullptr;
  }
  return result;
}

HICON Bitmap::GetHICON() const { return Query(flat::GdipCreateHICONFromBitmap, bitmap_); }

bool Bitmap::CloneArea(const RectF& area, int pixelFormat, Bitmap& target) const {
  return CreateInto(target, flat::GdipCloneBitmapArea, area.x, area.y, area.width, area.height,
                    static_cast<native::PixelFormat>(pixelFormat), bitmap_);
}

bool Bitmap::CloneAreaI(const RectI& area, int pixelFormat, Bitmap& target) const {
  return CreateInto(target, flat::GdipCloneBitmapAreaI, area.x, area.y, area.width, area.height,
                    static_cast<native::PixelFormat>(pixelFormat), bitmap_);
}

bool Bitmap::LockBits(const RectI* area, unsigned lockFlags, int pixelFormat, native::BitmapData* data) {
  native::Rect rect;
  if (area) rect = native::Rect(area->x, area->y, area->width, area->height);
  return Call(flat::GdipBitmapLockBits, bitmap_, area ? &rect : nullptr, static_cast<UINT>(lockFlags),
              static_cast<native::PixelFormat>(pixelFormat), data);
}

bool Bitmap::UnlockBits(native::BitmapData* data) { return Call(flat::GdipBitmapUnlockBits, bitmap_, data); }

ArgbColor Bitmap::GetPixel(int x, int y) const { return Query(flat::GdipBitmapGetPixel, bitmap_, x, y); }

bool Bitmap::SetPixel(int x, int y, ArgbColor color) {
  return Call(flat::GdipBitmapSetPixel, bitmap_, x, y, static_cast<native::ARGB>(color));
}

bool Bitmap::SetResolution(float horizontalDpi, float verticalDpi) {
  return Call(flat::GdipBitmapSetResolution, bitmap_, horizontalDpi, verticalDpi);
}

bool Bitmap::ApplyEffect(EffectObject& effect, const RECT* area) {
  if (void* stale = effect.GetAuxData()) {
    Free(stale);
    effect.SetAuxData(nullptr, 0);
  }
  RECT rect{};
  if (area) rect = *area;
  void* auxData = nullptr;
  INT auxSize = 0;
  const bool applied =
      Call(flat::GdipBitmapApplyEffect, bitmap_, static_cast<native::Effect*>(effect.GetNativeHandle()),
           area ? &rect : nullptr, static_cast<BOOL>(effect.UsesAuxData()), &auxData, &auxSize);
  effect.SetAuxData(auxData, auxSize);
  return applied;
}

SizeF Bitmap::RotatedSize(float width, float height, int angle) {
  const auto radians = static_cast<float>(angle * 3.1415926535 / 180);
  const auto c = static_cast<float>(std::cos(radians));
  const auto s = static_cast<float>(std::sin(radians));
  // The corners are pixel centres.
  const float a = (width - 1) / 2;
  const float b = (height - 1) / 2;
  const PointF corners[4] = {{-a, b}, {a, b}, {-a, -b}, {a, -b}};
  PointF turned[4];
  for (int i = 0; i < 4; ++i) {
    turned[i] = {c * corners[i].x + s * corners[i].y, -s * corners[i].x + c * corners[i].y};
  }
  const float w1 = std::fabs(turned[3].x - turned[0].x);
  const float w2 = std::fabs(turned[2].x - turned[1].x);
  const float h1 = std::fabs(turned[3].y - turned[0].y);
  const float h2 = std::fabs(turned[2].y - turned[1].y);
  return {w1 > w2 ? w1 : w2, h1 > h2 ? h1 : h2};
}

bool Bitmap::Rotate(float angle, Bitmap& target, std::optional<ArgbColor> background,
                    std::optional<int> interpolationMode, const std::optional<SizeF>& size) const {
  const int width = GetWidth();
  if (LastStatus() != kStatusOk) return false;
  const int height = GetHeight();
  const SizeF canvas =
      size ? *size : RotatedSize(static_cast<float>(width), static_cast<float>(height), static_cast<int>(angle));

  native::Bitmap* rawTurned = nullptr;
  if (!Call(flat::GdipCreateBitmapFromScan0, static_cast<INT>(canvas.width), static_cast<INT>(canvas.height), 0,
            static_cast<native::PixelFormat>(kPixelFormat32bppArgb), static_cast<BYTE*>(nullptr), &rawTurned)) {
    return false;
  }
  std::unique_ptr<native::Image, ImageDeleter> turned(rawTurned);
  Call(flat::GdipBitmapSetResolution, rawTurned, GetHorizontalResolution(), GetVerticalResolution());

  native::Graphics* rawGraphics = nullptr;
  if (!Call(flat::GdipGetImageGraphicsContext, static_cast<native::Image*>(rawTurned), &rawGraphics)) return false;
  std::unique_ptr<native::Graphics, GraphicsDeleter> graphics(rawGraphics);

  if (background) {
    native::SolidFill* rawBrush = nullptr;
    if (!Call(flat::GdipCreateSolidFill, static_cast<native::ARGB>(*background), &rawBrush)) return false;
    std::unique_ptr<native::Brush, BrushDeleter> brush(rawBrush);
    Call(flat::GdipFillRectangle, rawGraphics, static_cast<native::Brush*>(rawBrush), 0.0f, 0.0f, canvas.width,
         canvas.height);
  }
  if (interpolationMode) {
    Call(flat::GdipSetInterpolationMode, rawGraphics, static_cast<native::InterpolationMode>(*interpolationMode));
  }

  native::Matrix* rawMatrix = nullptr;
  if (!Call(flat::GdipCreateMatrix, &rawMatrix)) return false;
  std::unique_ptr<native::Matrix, MatrixDeleter> matrix(rawMatrix);
  const auto prepend = native::MatrixOrderPrepend;
  flat::GdipTranslateMatrix(rawMatrix, canvas.width / 2, canvas.height / 2, prepend);
  flat::GdipRotateMatrix(rawMatrix, angle, prepend);
  flat::GdipTranslateMatrix(rawMatrix, -canvas.width / 2, -canvas.height / 2, prepend);
  flat::GdipTranslateMatrix(rawMatrix, (canvas.width - static_cast<float>(width)) / 2,
                            (canvas.height - static_cast<float>(height)) / 2, prepend);
  Call(flat::GdipSetWorldTransform, rawGraphics, rawMatrix);
  const bool drawn = Call(flat::GdipDrawImage, rawGraphics, image(), 0.0f, 0.0f);
  flat::GdipResetWorldTransform(rawGraphics);

  graphics.reset();
  // A canvas the source never reached is no result: the target keeps what it
  // held.
  if (!drawn) return false;
  target.AdoptNativeHandle(static_cast<native::Bitmap*>(turned.release()));
  return true;
}

}  // namespace varnelo::draw
