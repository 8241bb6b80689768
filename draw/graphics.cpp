#include "draw/graphics.h"

#include <new>
#include <utility>

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

constexpr int kDriverStringRealizedAdvance = 4;

template <typename Native>
Native* NativeOf(const DrawObject& object) {
  return static_cast<Native*>(object.GetNativeHandle());
}
template <typename Native>
Native* NativeOf(const DrawObject* object) {
  return static_cast<Native*>(HandleOf(object));
}
native::Pen* PenOf(const DrawObject& pen) { return NativeOf<native::Pen>(pen); }
native::Brush* BrushOf(const Brush& brush) { return NativeOf<native::Brush>(brush); }
native::Image* ImageOf(const Image& image) { return NativeOf<native::Image>(image); }
const native::ImageAttributes* AttributesOf(const DrawObject* attributes) {
  return NativeOf<native::ImageAttributes>(attributes);
}
const native::Metafile* MetafileOf(const DrawObject& metafile) { return NativeOf<native::Metafile>(metafile); }

template <typename Block>
INT CountOf(const Block& block) {
  return static_cast<INT>(block.size());
}

native::MatrixOrder OrderOf(std::optional<int> order) { return static_cast<native::MatrixOrder>(order.value_or(0)); }
native::CombineMode ModeOf(std::optional<int> mode) { return static_cast<native::CombineMode>(mode.value_or(0)); }
native::FillMode FillOf(std::optional<int> mode) { return static_cast<native::FillMode>(mode.value_or(0)); }
native::Unit UnitOf(std::optional<int> unit) { return static_cast<native::Unit>(unit.value_or(kUnitPixel)); }

// A call on a record array, passed as a contiguous block of library records
// and its element count between the leading and trailing arguments.
template <typename Fn, typename Lead, typename Record, typename... Rest>
bool CallOnArray(Fn fn, native::Graphics* graphics, Lead lead, const std::vector<Record>& records, Rest... rest) {
  const auto block = ToNative(records);
  return Call(fn, graphics, lead, block.data(), CountOf(block), rest...);
}

// Scale or rotate about a centre: three calls, each storing its status.
template <typename Step>
bool AboutCentre(native::Graphics* graphics, const PointF& centre, std::optional<int> order, Step step) {
  const native::MatrixOrder o = OrderOf(order);
  const float sign = o == native::MatrixOrderPrepend ? 1.0f : -1.0f;
  Call(flat::GdipTranslateWorldTransform, graphics, sign * centre.x, sign * centre.y, o);
  step(o);
  return Call(flat::GdipTranslateWorldTransform, graphics, -sign * centre.x, -sign * centre.y, o);
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

void Graphics::Flush(std::optional<int> intention) {
  flat::GdipFlush(graphics_, static_cast<native::FlushIntention>(intention.value_or(0)));
}

// --- create

bool Graphics::FromHWND(HWND window, std::optional<bool> useIcm) {
  return CreateNative(useIcm.value_or(false) ? flat::GdipCreateFromHWNDICM : flat::GdipCreateFromHWND, window);
}

bool Graphics::FromHDC(HDC dc, std::optional<HANDLE> device) {
  if (device) return CreateNative(flat::GdipCreateFromHDC2, dc, *device);
  return CreateNative(flat::GdipCreateFromHDC, dc);
}

bool Graphics::FromImage(const Image& image) { return CreateNative(flat::GdipGetImageGraphicsContext, ImageOf(image)); }

// --- device context

HDC Graphics::GetHDC() { return Query(flat::GdipGetDC, graphics_); }
bool Graphics::ReleaseHDC(HDC dc) { return Call(flat::GdipReleaseDC, graphics_, dc); }

// --- rendering origin

PointI Graphics::GetRenderingOrigin() const {
  PointI origin;
  if (!Call(flat::GdipGetRenderingOrigin, graphics_, &origin.x, &origin.y)) return PointI{};
  return origin;
}

bool Graphics::SetRenderingOrigin(int x, int y) { return Call(flat::GdipSetRenderingOrigin, graphics_, x, y); }

// --- quality settings

int Graphics::GetCompositingMode() const { return Query(flat::GdipGetCompositingMode, graphics_); }
bool Graphics::SetCompositingMode(int mode) {
  return Call(flat::GdipSetCompositingMode, graphics_, static_cast<native::CompositingMode>(mode));
}
int Graphics::GetCompositingQuality() const { return Query(flat::GdipGetCompositingQuality, graphics_); }
bool Graphics::SetCompositingQuality(int quality) {
  return Call(flat::GdipSetCompositingQuality, graphics_, static_cast<native::CompositingQuality>(quality));
}
bool Graphics::SetTextRenderingHint(int hint) {
  return Call(flat::GdipSetTextRenderingHint, graphics_, static_cast<native::TextRenderingHint>(hint));
}
int Graphics::GetTextRenderingHint() const { return Query(flat::GdipGetTextRenderingHint, graphics_); }
bool Graphics::SetTextContrast(int contrast) {
  return Call(flat::GdipSetTextContrast, graphics_, static_cast<UINT>(contrast));
}
int Graphics::GetTextContrast() const { return static_cast<int>(Query(flat::GdipGetTextContrast, graphics_)); }
bool Graphics::SetInterpolationMode(int mode) {
  return Call(flat::GdipSetInterpolationMode, graphics_, static_cast<native::InterpolationMode>(mode));
}
int Graphics::GetInterpolationMode() const { return Query(flat::GdipGetInterpolationMode, graphics_); }
bool Graphics::SetSmoothingMode(int mode) {
  return Call(flat::GdipSetSmoothingMode, graphics_, static_cast<native::SmoothingMode>(mode));
}
int Graphics::GetSmoothingMode() const { return Query(flat::GdipGetSmoothingMode, graphics_); }
bool Graphics::SetPixelOffsetMode(int mode) {
  return Call(flat::GdipSetPixelOffsetMode, graphics_, static_cast<native::PixelOffsetMode>(mode));
}
int Graphics::GetPixelOffsetMode() const { return Query(flat::GdipGetPixelOffsetMode, graphics_); }

// --- world transform

bool Graphics::SetTransform(const DrawObject& matrix) {
  return Call(flat::GdipSetWorldTransform, graphics_, NativeOf<native::Matrix>(matrix));
}
bool Graphics::GetTransform(const DrawObject& matrix) const {
  return Call(flat::GdipGetWorldTransform, graphics_, NativeOf<native::Matrix>(matrix));
}
bool Graphics::ResetTransform() { return Call(flat::GdipResetWorldTransform, graphics_); }
bool Graphics::MultiplyTransform(const DrawObject& matrix, std::optional<int> order) {
  return Call(flat::GdipMultiplyWorldTransform, graphics_, NativeOf<const native::Matrix>(matrix), OrderOf(order));
}
bool Graphics::TranslateTransform(float dx, float dy, std::optional<int> order) {
  return Call(flat::GdipTranslateWorldTransform, graphics_, dx, dy, OrderOf(order));
}
bool Graphics::ScaleTransform(float sx, float sy, std::optional<int> order) {
  return Call(flat::GdipScaleWorldTransform, graphics_, sx, sy, OrderOf(order));
}
bool Graphics::ScaleTransformAt(float sx, float sy, const PointF& centre, std::optional<int> order) {
  return AboutCentre(graphics_, centre, order,
                     [&](native::MatrixOrder o) { Call(flat::GdipScaleWorldTransform, graphics_, sx, sy, o); });
}
bool Graphics::RotateTransform(float angle, std::optional<int> order) {
  return Call(flat::GdipRotateWorldTransform, graphics_, angle, OrderOf(order));
}
bool Graphics::RotateTransformAt(float angle, const PointF& centre, std::optional<int> order) {
  return AboutCentre(graphics_, centre, order,
                     [&](native::MatrixOrder o) { Call(flat::GdipRotateWorldTransform, graphics_, angle, o); });
}

// --- page and resolution

bool Graphics::SetPageUnit(int unit) { return Call(flat::GdipSetPageUnit, graphics_, static_cast<native::Unit>(unit)); }
int Graphics::GetPageUnit() const { return Query(flat::GdipGetPageUnit, graphics_); }
bool Graphics::SetPageScale(float scale) { return Call(flat::GdipSetPageScale, graphics_, scale); }
float Graphics::GetPageScale() const { return Query(flat::GdipGetPageScale, graphics_); }
float Graphics::GetDpiX() const { return Query(flat::GdipGetDpiX, graphics_); }
float Graphics::GetDpiY() const { return Query(flat::GdipGetDpiY, graphics_); }

// --- coordinate conversion

namespace {

// Points go to the library as a block and come back transformed.
template <typename Fn, typename Record>
bool TransformInPlace(Fn fn, native::Graphics* graphics, int destinationSpace, int sourceSpace,
                      std::vector<Record>& points) {
  auto block = ToNative(points);
  const bool done = Call(fn, graphics, static_cast<native::CoordinateSpace>(destinationSpace),
                         static_cast<native::CoordinateSpace>(sourceSpace), block.data(), CountOf(block));
  CopyBack(block, points);
  return done;
}

}  // namespace

bool Graphics::TransformPoints(int destinationSpace, int sourceSpace, std::vector<PointF>& points) const {
  return TransformInPlace(flat::GdipTransformPoints, graphics_, destinationSpace, sourceSpace, points);
}

bool Graphics::TransformPointsI(int destinationSpace, int sourceSpace, std::vector<PointI>& points) const {
  return TransformInPlace(flat::GdipTransformPointsI, graphics_, destinationSpace, sourceSpace, points);
}

ArgbColor Graphics::GetNearestColor(ArgbColor color) const {
  native::ARGB adjusted = color;
  if (!Call(flat::GdipGetNearestColor, graphics_, &adjusted)) return 0;
  return adjusted;
}

// --- outlines with a pen

bool Graphics::DrawLine(const DrawObject& pen, float x1, float y1, float x2, float y2) {
  return Call(flat::GdipDrawLine, graphics_, PenOf(pen), x1, y1, x2, y2);
}
bool Graphics::DrawLineI(const DrawObject& pen, int x1, int y1, int x2, int y2) {
  return Call(flat::GdipDrawLineI, graphics_, PenOf(pen), x1, y1, x2, y2);
}
bool Graphics::DrawLines(const DrawObject& pen, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipDrawLines, graphics_, PenOf(pen), points);
}
bool Graphics::DrawLinesI(const DrawObject& pen, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipDrawLinesI, graphics_, PenOf(pen), points);
}
bool Graphics::DrawArc(const DrawObject& pen, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
  return Call(flat::GdipDrawArc, graphics_, PenOf(pen), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::DrawArcI(const DrawObject& pen, int x, int y, int width, int height, float startAngle,
                        float sweepAngle) {
  return Call(flat::GdipDrawArcI, graphics_, PenOf(pen), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::DrawBezier(const DrawObject& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                          float y4) {
  return Call(flat::GdipDrawBezier, graphics_, PenOf(pen), x1, y1, x2, y2, x3, y3, x4, y4);
}
bool Graphics::DrawBezierI(const DrawObject& pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  return Call(flat::GdipDrawBezierI, graphics_, PenOf(pen), x1, y1, x2, y2, x3, y3, x4, y4);
}
bool Graphics::DrawBeziers(const DrawObject& pen, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipDrawBeziers, graphics_, PenOf(pen), points);
}
bool Graphics::DrawBeziersI(const DrawObject& pen, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipDrawBeziersI, graphics_, PenOf(pen), points);
}
bool Graphics::DrawRectangle(const DrawObject& pen, float x, float y, float width, float height) {
  return Call(flat::GdipDrawRectangle, graphics_, PenOf(pen), x, y, width, height);
}
bool Graphics::DrawRectangleI(const DrawObject& pen, int x, int y, int width, int height) {
  return Call(flat::GdipDrawRectangleI, graphics_, PenOf(pen), x, y, width, height);
}
bool Graphics::DrawRectangles(const DrawObject& pen, const std::vector<RectF>& rects) {
  return CallOnArray(flat::GdipDrawRectangles, graphics_, PenOf(pen), rects);
}
bool Graphics::DrawRectanglesI(const DrawObject& pen, const std::vector<RectI>& rects) {
  return CallOnArray(flat::GdipDrawRectanglesI, graphics_, PenOf(pen), rects);
}
bool Graphics::DrawEllipse(const DrawObject& pen, float x, float y, float width, float height) {
  return Call(flat::GdipDrawEllipse, graphics_, PenOf(pen), x, y, width, height);
}
bool Graphics::DrawEllipseI(const DrawObject& pen, int x, int y, int width, int height) {
  return Call(flat::GdipDrawEllipseI, graphics_, PenOf(pen), x, y, width, height);
}
bool Graphics::DrawPie(const DrawObject& pen, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
  return Call(flat::GdipDrawPie, graphics_, PenOf(pen), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::DrawPieI(const DrawObject& pen, int x, int y, int width, int height, float startAngle,
                        float sweepAngle) {
  return Call(flat::GdipDrawPieI, graphics_, PenOf(pen), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::DrawPolygon(const DrawObject& pen, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipDrawPolygon, graphics_, PenOf(pen), points);
}
bool Graphics::DrawPolygonI(const DrawObject& pen, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipDrawPolygonI, graphics_, PenOf(pen), points);
}
bool Graphics::DrawPath(const DrawObject& pen, const DrawObject& path) {
  return Call(flat::GdipDrawPath, graphics_, PenOf(pen), NativeOf<native::Path>(path));
}
bool Graphics::DrawCurve(const DrawObject& pen, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipDrawCurve, graphics_, PenOf(pen), points);
}
bool Graphics::DrawCurveI(const DrawObject& pen, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipDrawCurveI, graphics_, PenOf(pen), points);
}
bool Graphics::DrawCurve2(const DrawObject& pen, const std::vector<PointF>& points, float tension) {
  return CallOnArray(flat::GdipDrawCurve2, graphics_, PenOf(pen), points, tension);
}
bool Graphics::DrawCurve2I(const DrawObject& pen, const std::vector<PointI>& points, float tension) {
  return CallOnArray(flat::GdipDrawCurve2I, graphics_, PenOf(pen), points, tension);
}
bool Graphics::DrawCurve3(const DrawObject& pen, const std::vector<PointF>& points, int offset, int segments,
                          float tension) {
  return CallOnArray(flat::GdipDrawCurve3, graphics_, PenOf(pen), points, offset, segments, tension);
}
bool Graphics::DrawCurve3I(const DrawObject& pen, const std::vector<PointI>& points, int offset, int segments,
                           float tension) {
  return CallOnArray(flat::GdipDrawCurve3I, graphics_, PenOf(pen), points, offset, segments, tension);
}
bool Graphics::DrawClosedCurve(const DrawObject& pen, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipDrawClosedCurve, graphics_, PenOf(pen), points);
}
bool Graphics::DrawClosedCurveI(const DrawObject& pen, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipDrawClosedCurveI, graphics_, PenOf(pen), points);
}
bool Graphics::DrawClosedCurve2(const DrawObject& pen, const std::vector<PointF>& points, float tension) {
  return CallOnArray(flat::GdipDrawClosedCurve2, graphics_, PenOf(pen), points, tension);
}
bool Graphics::DrawClosedCurve2I(const DrawObject& pen, const std::vector<PointI>& points, float tension) {
  return CallOnArray(flat::GdipDrawClosedCurve2I, graphics_, PenOf(pen), points, tension);
}

// --- clear

bool Graphics::Clear(ArgbColor color) {
  return Call(flat::GdipGraphicsClear, graphics_, static_cast<native::ARGB>(color));
}

// --- fills with a brush

bool Graphics::FillRectangle(const Brush& brush, float x, float y, float width, float height) {
  return Call(flat::GdipFillRectangle, graphics_, BrushOf(brush), x, y, width, height);
}
bool Graphics::FillRectangleRect(const Brush& brush, const RectF& rect) {
  return FillRectangle(brush, rect.x, rect.y, rect.width, rect.height);
}
bool Graphics::FillRectangleI(const Brush& brush, int x, int y, int width, int height) {
  return Call(flat::GdipFillRectangleI, graphics_, BrushOf(brush), x, y, width, height);
}
bool Graphics::FillRectangles(const Brush& brush, const std::vector<RectF>& rects) {
  return CallOnArray(flat::GdipFillRectangles, graphics_, BrushOf(brush), rects);
}
bool Graphics::FillRectanglesI(const Brush& brush, const std::vector<RectI>& rects) {
  return CallOnArray(flat::GdipFillRectanglesI, graphics_, BrushOf(brush), rects);
}
bool Graphics::FillPolygon(const Brush& brush, const std::vector<PointF>& points, std::optional<int> fillMode) {
  return CallOnArray(flat::GdipFillPolygon, graphics_, BrushOf(brush), points, FillOf(fillMode));
}
bool Graphics::FillPolygonI(const Brush& brush, const std::vector<PointI>& points, std::optional<int> fillMode) {
  return CallOnArray(flat::GdipFillPolygonI, graphics_, BrushOf(brush), points, FillOf(fillMode));
}
bool Graphics::FillEllipse(const Brush& brush, float x, float y, float width, float height) {
  return Call(flat::GdipFillEllipse, graphics_, BrushOf(brush), x, y, width, height);
}
bool Graphics::FillEllipseI(const Brush& brush, int x, int y, int width, int height) {
  return Call(flat::GdipFillEllipseI, graphics_, BrushOf(brush), x, y, width, height);
}
bool Graphics::FillPie(const Brush& brush, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
  return Call(flat::GdipFillPie, graphics_, BrushOf(brush), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::FillPieI(const Brush& brush, int x, int y, int width, int height, float startAngle, float sweepAngle) {
  return Call(flat::GdipFillPieI, graphics_, BrushOf(brush), x, y, width, height, startAngle, sweepAngle);
}
bool Graphics::FillPath(const Brush& brush, const DrawObject& path) {
  return Call(flat::GdipFillPath, graphics_, BrushOf(brush), NativeOf<native::Path>(path));
}
bool Graphics::FillClosedCurve(const Brush& brush, const std::vector<PointF>& points) {
  return CallOnArray(flat::GdipFillClosedCurve, graphics_, BrushOf(brush), points);
}
bool Graphics::FillClosedCurve2(const Brush& brush, const std::vector<PointF>& points, float tension,
                                std::optional<int> fillMode) {
  return CallOnArray(flat::GdipFillClosedCurve2, graphics_, BrushOf(brush), points, tension, FillOf(fillMode));
}
bool Graphics::FillClosedCurveI(const Brush& brush, const std::vector<PointI>& points) {
  return CallOnArray(flat::GdipFillClosedCurveI, graphics_, BrushOf(brush), points);
}
bool Graphics::FillClosedCurve2I(const Brush& brush, const std::vector<PointI>& points, float tension,
                                 std::optional<int> fillMode) {
  return CallOnArray(flat::GdipFillClosedCurve2I, graphics_, BrushOf(brush), points, tension, FillOf(fillMode));
}
bool Graphics::FillRegion(const Brush& brush, const Region& region) {
  return Call(flat::GdipFillRegion, graphics_, BrushOf(brush), NativeOf<native::Region>(region));
}

// --- text

namespace {

bool DrawWide(native::Graphics* graphics, const std::wstring& text, const Font& font, const Brush& brush,
              const RectF& layout, const StringFormat& format) {
  const native::RectF rect = ToNative(layout);
  return Call(flat::GdipDrawString, graphics, text.c_str(), static_cast<INT>(text.size()), NativeOf<native::Font>(font),
              &rect, NativeOf<native::StringFormat>(format), BrushOf(brush));
}

bool MeasureWide(native::Graphics* graphics, const std::wstring& text, const Font& font, const RectF& layout,
                 const StringFormat& format, RectF& bounds) {
  const native::RectF rect = ToNative(layout);
  native::RectF measured;
  if (!Call(flat::GdipMeasureString, graphics, text.c_str(), static_cast<INT>(text.size()),
            NativeOf<native::Font>(font), &rect, NativeOf<native::StringFormat>(format), &measured,
            static_cast<INT*>(nullptr), static_cast<INT*>(nullptr))) {
    return false;
  }
  bounds = FromNative(measured);
  return true;
}

// Deletes the regions MeasureCharacterRanges made when they find no owner.
struct RegionBatch {
  std::vector<native::Region*> regions;
  ~RegionBatch() {
    for (native::Region* region : regions) {
      if (region) flat::GdipDeleteRegion(region);
    }
  }
};

bool MeasureRangesWide(native::Graphics* graphics, const std::wstring& text, const Font& font, const RectF& layout,
                       const StringFormat& format, int regionCount, std::vector<std::unique_ptr<Region>>& regions) {
  if (regionCount < 1) return detail::Refuse();
  RegionBatch batch;
  try {
    batch.regions.assign(static_cast<std::size_t>(regionCount), nullptr);
  } catch (const std::bad_alloc&) {
    SetLastStatus(kStatusOutOfMemory);
    return false;
  }
  for (native::Region*& region : batch.regions) {
    if (!Call(flat::GdipCreateRegion, &region)) return false;
  }
  const native::RectF rect = ToNative(layout);
  if (!Call(flat::GdipMeasureCharacterRanges, graphics, text.c_str(), static_cast<INT>(text.size()),
            NativeOf<native::Font>(font), rect, NativeOf<native::StringFormat>(format), regionCount,
            batch.regions.data())) {
    return false;
  }
  regions.clear();
  for (native::Region*& region : batch.regions) {
    regions.push_back(std::make_unique<Region>());
    regions.back()->SetNativeHandle(std::exchange(region, nullptr));
  }
  return true;
}

// The driver-string call reads one position per character (one in all with
// the realized-advance flag); fewer would be read past their end.
bool DrawDriverWide(native::Graphics* graphics, const std::wstring& text, const Font& font, const Brush& brush,
                    const std::vector<PointF>& positions, std::optional<int> flags, const DrawObject* matrix) {
  const int options = flags.value_or(kDriverStringCmapLookup);
  const std::size_t needed = (options & kDriverStringRealizedAdvance) ? (text.empty() ? 0 : 1) : text.size();
  if (positions.size() < needed) return detail::Refuse();
  const auto block = ToNative(positions);
  return Call(flat::GdipDrawDriverString, graphics, reinterpret_cast<const UINT16*>(text.c_str()),
              static_cast<INT>(text.size()), NativeOf<const native::Font>(font), NativeOf<const native::Brush>(brush),
              block.data(), options, NativeOf<const native::Matrix>(matrix));
}

}  // namespace

bool Graphics::DrawString(const TextBytes& text, const Font& font, const Brush& brush, const RectF& layout,
                          const StringFormat& format) {
  return DrawWide(graphics_, WideFromAnsi(text), font, brush, layout, format);
}
bool Graphics::DrawStringW(const ByteBuffer& text, const Font& font, const Brush& brush, const RectF& layout,
                           const StringFormat& format) {
  return DrawWide(graphics_, WideFromBytes(text), font, brush, layout, format);
}
bool Graphics::MeasureString(const TextBytes& text, const Font& font, const RectF& layout, const StringFormat& format,
                             RectF& bounds) const {
  return MeasureWide(graphics_, WideFromAnsi(text), font, layout, format, bounds);
}
bool Graphics::MeasureStringW(const ByteBuffer& text, const Font& font, const RectF& layout, const StringFormat& format,
                              RectF& bounds) const {
  return MeasureWide(graphics_, WideFromBytes(text), font, layout, format, bounds);
}
bool Graphics::MeasureCharacterRanges(const TextBytes& text, const Font& font, const RectF& layout,
                                      const StringFormat& format, int regionCount,
                                      std::vector<std::unique_ptr<Region>>& regions) const {
  return MeasureRangesWide(graphics_, WideFromAnsi(text), font, layout, format, regionCount, regions);
}
bool Graphics::MeasureCharacterRangesW(const ByteBuffer& text, const Font& font, const RectF& layout,
                                       const StringFormat& format, int regionCount,
                                       std::vector<std::unique_ptr<Region>>& regions) const {
  return MeasureRangesWide(graphics_, WideFromBytes(text), font, layout, format, regionCount, regions);
}

// --- driver text

bool Graphics::DrawDriverString(const TextBytes& text, const Font& font, const Brush& brush,
                                const std::vector<PointF>& positions, std::optional<int> flags,
                                const DrawObject* matrix) {
  return DrawDriverWide(graphics_, WideFromAnsi(text), font, brush, positions, flags, matrix);
}
bool Graphics::DrawDriverStringW(const ByteBuffer& text, const Font& font, const Brush& brush,
                                 const std::vector<PointF>& positions, std::optional<int> flags,
                                 const DrawObject* matrix) {
  return DrawDriverWide(graphics_, WideFromBytes(text), font, brush, positions, flags, matrix);
}

// --- images

bool Graphics::DrawImage(const Image& image, float x, float y) {
  return Call(flat::GdipDrawImage, graphics_, ImageOf(image), x, y);
}
bool Graphics::DrawImageI(const Image& image, int x, int y) {
  return Call(flat::GdipDrawImageI, graphics_, ImageOf(image), x, y);
}
bool Graphics::DrawCachedBitmap(const DrawObject& cachedBitmap, float x, float y) {
  return Call(flat::GdipDrawCachedBitmap, graphics_, NativeOf<native::CachedBitmap>(cachedBitmap), static_cast<INT>(x),
              static_cast<INT>(y));
}
bool Graphics::DrawImageRect(const Image& image, float x, float y, float width, float height,
                             std::optional<int> sourceUnit) {
  const RectF source{0, 0, static_cast<float>(image.GetWidth()), static_cast<float>(image.GetHeight())};
  return DrawImageRectRect(image, {x, y, width, height}, source, sourceUnit);
}
bool Graphics::DrawImageRectI(const Image& image, int x, int y, int width, int height, std::optional<int> sourceUnit) {
  return DrawImageRectRectI(image, {x, y, width, height}, {0, 0, image.GetWidth(), image.GetHeight()}, sourceUnit);
}
bool Graphics::DrawImagePoints(const Image& image, const PointF& upperLeft, const PointF& upperRight,
                               const PointF& lowerLeft) {
  const native::PointF corners[3] = {ToNative(upperLeft), ToNative(upperRight), ToNative(lowerLeft)};
  return Call(flat::GdipDrawImagePoints, graphics_, ImageOf(image), corners, 3);
}
bool Graphics::DrawImagePointsI(const Image& image, const PointI& upperLeft, const PointI& upperRight,
                                const PointI& lowerLeft) {
  const native::Point corners[3] = {ToNative(upperLeft), ToNative(upperRight), ToNative(lowerLeft)};
  return Call(flat::GdipDrawImagePointsI, graphics_, ImageOf(image), corners, 3);
}
bool Graphics::DrawImagePointRect(const Image& image, float x, float y, const RectF& source,
                                  std::optional<int> sourceUnit) {
  return Call(flat::GdipDrawImagePointRect, graphics_, ImageOf(image), x, y, source.x, source.y, source.width,
              source.height, UnitOf(sourceUnit));
}
bool Graphics::DrawImagePointRectI(const Image& image, int x, int y, const RectI& source,
                                   std::optional<int> sourceUnit) {
  return Call(flat::GdipDrawImagePointRectI, graphics_, ImageOf(image), x, y, source.x, source.y, source.width,
              source.height, UnitOf(sourceUnit));
}
bool Graphics::DrawImageRectRect(const Image& image, const RectF& destination, const RectF& source,
                                 std::optional<int> sourceUnit, const DrawObject* attributes) {
  return Call(flat::GdipDrawImageRectRect, graphics_, ImageOf(image), destination.x, destination.y, destination.width,
              destination.height, source.x, source.y, source.width, source.height, UnitOf(sourceUnit),
              AttributesOf(attributes), native::DrawImageAbort{}, static_cast<void*>(nullptr));
}
bool Graphics::DrawImageRectRectI(const Image& image, const RectI& destination, const RectI& source,
                                  std::optional<int> sourceUnit, const DrawObject* attributes) {
  return Call(flat::GdipDrawImageRectRectI, graphics_, ImageOf(image), destination.x, destination.y, destination.width,
              destination.height, source.x, source.y, source.width, source.height, UnitOf(sourceUnit),
              AttributesOf(attributes), native::DrawImageAbort{}, static_cast<void*>(nullptr));
}
bool Graphics::DrawImagePointsRect(const Image& image, const PointF& upperLeft, const PointF& upperRight,
                                   const PointF& lowerLeft, const RectF& source, std::optional<int> sourceUnit,
                                   const DrawObject* attributes) {
  const native::PointF corners[3] = {ToNative(upperLeft), ToNative(upperRight), ToNative(lowerLeft)};
  return Call(flat::GdipDrawImagePointsRect, graphics_, ImageOf(image), corners, 3, source.x, source.y, source.width,
              source.height, UnitOf(sourceUnit), AttributesOf(attributes), native::DrawImageAbort{},
              static_cast<void*>(nullptr));
}
bool Graphics::DrawImagePointsRectI(const Image& image, const PointI& upperLeft, const PointI& upperRight,
                                    const PointI& lowerLeft, const RectI& source, std::optional<int> sourceUnit,
                                    const DrawObject* attributes) {
  const native::Point corners[3] = {ToNative(upperLeft), ToNative(upperRight), ToNative(lowerLeft)};
  return Call(flat::GdipDrawImagePointsRectI, graphics_, ImageOf(image), corners, 3, source.x, source.y, source.width,
              source.height, UnitOf(sourceUnit), AttributesOf(attributes), native::DrawImageAbort{},
              static_cast<void*>(nullptr));
}

// --- metafile playback

bool Graphics::EnumerateMetafileDestPoint(const DrawObject& metafile, const PointF& destination,
                                          MetafileCallback callback, void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileDestPoint, graphics_, MetafileOf(metafile), ToNative(destination), callback,
              data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileDestPointI(const DrawObject& metafile, const PointI& destination,
                                           MetafileCallback callback, void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileDestPointI, graphics_, MetafileOf(metafile), ToNative(destination), callback,
              data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileDestPoints(const DrawObject& metafile, const std::vector<PointF>& destination,
                                           MetafileCallback callback, void* data, const DrawObject* attributes) {
  return CallOnArray(flat::GdipEnumerateMetafileDestPoints, graphics_, MetafileOf(metafile), destination, callback,
                     data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileDestPointsI(const DrawObject& metafile, const std::vector<PointI>& destination,
                                            MetafileCallback callback, void* data, const DrawObject* attributes) {
  return CallOnArray(flat::GdipEnumerateMetafileDestPointsI, graphics_, MetafileOf(metafile), destination, callback,
                     data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileDestRect(const DrawObject& metafile, const RectF& destination,
                                         MetafileCallback callback, void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileDestRect, graphics_, MetafileOf(metafile), ToNative(destination), callback,
              data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileDestRectI(const DrawObject& metafile, const RectI& destination,
                                          MetafileCallback callback, void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileDestRectI, graphics_, MetafileOf(metafile), ToNative(destination), callback,
              data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestPoint(const DrawObject& metafile, const PointF& destination,
                                                 const RectF& source, int sourceUnit, MetafileCallback callback,
                                                 void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileSrcRectDestPoint, graphics_, MetafileOf(metafile), ToNative(destination),
              ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestPointI(const DrawObject& metafile, const PointI& destination,
                                                  const RectI& source, int sourceUnit, MetafileCallback callback,
                                                  void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileSrcRectDestPointI, graphics_, MetafileOf(metafile), ToNative(destination),
              ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestPoints(const DrawObject& metafile, const std::vector<PointF>& destination,
                                                  const RectF& source, int sourceUnit, MetafileCallback callback,
                                                  void* data, const DrawObject* attributes) {
  return CallOnArray(flat::GdipEnumerateMetafileSrcRectDestPoints, graphics_, MetafileOf(metafile), destination,
                     ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestPointsI(const DrawObject& metafile, const std::vector<PointI>& destination,
                                                   const RectI& source, int sourceUnit, MetafileCallback callback,
                                                   void* data, const DrawObject* attributes) {
  return CallOnArray(flat::GdipEnumerateMetafileSrcRectDestPointsI, graphics_, MetafileOf(metafile), destination,
                     ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestRect(const DrawObject& metafile, const RectF& destination,
                                                const RectF& source, int sourceUnit, MetafileCallback callback,
                                                void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileSrcRectDestRect, graphics_, MetafileOf(metafile), ToNative(destination),
              ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}
bool Graphics::EnumerateMetafileSrcRectDestRectI(const DrawObject& metafile, const RectI& destination,
                                                 const RectI& source, int sourceUnit, MetafileCallback callback,
                                                 void* data, const DrawObject* attributes) {
  return Call(flat::GdipEnumerateMetafileSrcRectDestRectI, graphics_, MetafileOf(metafile), ToNative(destination),
              ToNative(source), static_cast<native::Unit>(sourceUnit), callback, data, AttributesOf(attributes));
}

// --- clipping and visibility

bool Graphics::SetClipGraphics(const Graphics& source, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipGraphics, graphics_, source.graphics_, ModeOf(combineMode));
}
bool Graphics::SetClipPath(const DrawObject& path, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipPath, graphics_, NativeOf<native::Path>(path), ModeOf(combineMode));
}
bool Graphics::SetClipRect(float x, float y, float width, float height, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipRect, graphics_, x, y, width, height, ModeOf(combineMode));
}
bool Graphics::SetClipRectI(int x, int y, int width, int height, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipRectI, graphics_, x, y, width, height, ModeOf(combineMode));
}
bool Graphics::SetClipRegion(const Region& region, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipRegion, graphics_, NativeOf<native::Region>(region), ModeOf(combineMode));
}
bool Graphics::SetClipHrgn(HRGN region, std::optional<int> combineMode) {
  return Call(flat::GdipSetClipHrgn, graphics_, region, ModeOf(combineMode));
}
bool Graphics::ResetClip() { return Call(flat::GdipResetClip, graphics_); }
bool Graphics::TranslateClip(float dx, float dy) { return Call(flat::GdipTranslateClip, graphics_, dx, dy); }
bool Graphics::TranslateClipI(int dx, int dy) { return Call(flat::GdipTranslateClipI, graphics_, dx, dy); }

bool Graphics::GetClip(Region& target) const {
  if (!target.GetNativeHandle() && !target.Create()) return false;
  return Call(flat::GdipGetClip, graphics_, NativeOf<native::Region>(target));
}

RectF Graphics::GetClipBounds() const { return FromNative(Query(flat::GdipGetClipBounds, graphics_)); }
RectI Graphics::GetClipBoundsI() const { return FromNative(Query(flat::GdipGetClipBoundsI, graphics_)); }
RectF Graphics::GetVisibleClipBounds() const { return FromNative(Query(flat::GdipGetVisibleClipBounds, graphics_)); }
RectI Graphics::GetVisibleClipBoundsI() const { return FromNative(Query(flat::GdipGetVisibleClipBoundsI, graphics_)); }
bool Graphics::IsClipEmpty() const { return Query(flat::GdipIsClipEmpty, graphics_) != FALSE; }
bool Graphics::IsVisibleClipEmpty() const { return Query(flat::GdipIsVisibleClipEmpty, graphics_) != FALSE; }
bool Graphics::IsVisiblePoint(float x, float y) const {
  return Query(flat::GdipIsVisiblePoint, graphics_, x, y) != FALSE;
}
bool Graphics::IsVisiblePointI(int x, int y) const {
  return Query(flat::GdipIsVisiblePointI, graphics_, x, y) != FALSE;
}
bool Graphics::IsVisibleRect(float x, float y, float width, float height) const {
  return Query(flat::GdipIsVisibleRect, graphics_, x, y, width, height) != FALSE;
}
bool Graphics::IsVisibleRectI(int x, int y, int width, int height) const {
  return Query(flat::GdipIsVisibleRectI, graphics_, x, y, width, height) != FALSE;
}

// --- state and containers

unsigned Graphics::Save() { return Query(flat::GdipSaveGraphics, graphics_); }
bool Graphics::Restore(unsigned state) { return Call(flat::GdipRestoreGraphics, graphics_, state); }
unsigned Graphics::BeginContainer(const RectF& destination, const RectF& source, int unit) {
  const native::RectF d = ToNative(destination);
  const native::RectF s = ToNative(source);
  return Query(flat::GdipBeginContainer, graphics_, &d, &s, static_cast<native::Unit>(unit));
}
unsigned Graphics::BeginContainerI(const RectI& destination, const RectI& source, int unit) {
  const native::Rect d = ToNative(destination);
  const native::Rect s = ToNative(source);
  return Query(flat::GdipBeginContainerI, graphics_, &d, &s, static_cast<native::Unit>(unit));
}
unsigned Graphics::BeginContainerNoParams() { return Query(flat::GdipBeginContainer2, graphics_); }
bool Graphics::EndContainer(unsigned container) { return Call(flat::GdipEndContainer, graphics_, container); }
bool Graphics::AddComment(const ByteBuffer& data) {
  return Call(flat::GdipComment, graphics_, static_cast<UINT>(data.size()), data.data());
}

}  // namespace varnelo::draw
