#include "draw/graphics.h"

#include "draw/brush.h"
#include "draw/font.h"
#include "draw/image.h"
#include "draw/record_convert.h"
#include "draw/region.h"
#include "draw/string_format.h"
#include "draw/text_convert.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

template <typename Native>
Native* NativeOf(const DrawObject& object) {
  return static_cast<Native*>(object.GetNativeHandle());
}

}  // namespace

void Graphics::OnHandleChanged(NativeHandle handle) {
  graphics_ = static_cast<native::Graphics*>(handle);
  OnGraphicsHandleChanged(handle);
}

void Graphics::OnGraphicsHandleChanged(NativeHandle) {}

bool Graphics::Delete() { return ReleaseNative(); }

int Graphics::DeleteNative(NativeHandle handle) {
  return flat::GdipDeleteGraphics(static_cast<native::Graphics*>(handle));
}

bool Graphics::FromImage(const Image& image) {
  return CreateNative(flat::GdipGetImageGraphicsContext, NativeOf<native::Image>(image));
}

bool Graphics::SetTextRenderingHint(int hint) {
  return Call(flat::GdipSetTextRenderingHint, graphics_, static_cast<native::TextRenderingHint>(hint));
}

bool Graphics::Clear(ArgbColor color) {
  return Call(flat::GdipGraphicsClear, graphics_, static_cast<native::ARGB>(color));
}

bool Graphics::DrawString(const TextBytes& text, const Font& font, const Brush& brush, const RectF& layout,
                          const StringFormat& format) {
  const std::wstring wide = WideFromAnsi(text);
  const native::RectF rect = ToNative(layout);
  return Call(flat::GdipDrawString, graphics_, wide.c_str(), static_cast<INT>(wide.size()),
              NativeOf<native::Font>(font), &rect, NativeOf<native::StringFormat>(format),
              NativeOf<native::Brush>(brush));
}

bool Graphics::DrawImageRect(const Image& image, float x, float y, float width, float height,
                             std::optional<int> sourceUnit) {
  const auto sourceWidth = static_cast<float>(image.GetWidth());
  const auto sourceHeight = static_cast<float>(image.GetHeight());
  return Call(flat::GdipDrawImageRectRect, graphics_, NativeOf<native::Image>(image), x, y, width, height, 0.0f,
              0.0f, sourceWidth, sourceHeight, static_cast<native::Unit>(sourceUnit.value_or(kUnitPixel)),
              static_cast<const native::ImageAttributes*>(nullptr), native::DrawImageAbort{},
              static_cast<void*>(nullptr));
}

}  // namespace varnelo::draw
