#include "draw/region.h"

#include <algorithm>
#include <new>

#include "draw/graphics.h"
#include "draw/record_convert.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

native::Graphics* GraphicsOf(const Graphics* graphics) { return static_cast<native::Graphics*>(HandleOf(graphics)); }
native::Path* PathOf(const DrawObject& path) { return static_cast<native::Path*>(path.GetNativeHandle()); }
native::Matrix* MatrixOf(const DrawObject& matrix) { return static_cast<native::Matrix*>(matrix.GetNativeHandle()); }
native::CombineMode ModeOf(std::optional<int> combineMode) {
  return static_cast<native::CombineMode>(combineMode.value_or(kCombineModeIntersect));
}

}  // namespace

void Region::OnHandleChanged(NativeHandle handle) { region_ = static_cast<native::Region*>(handle); }

bool Region::Delete() { return ReleaseNative(); }

int Region::DeleteNative(NativeHandle handle) { return flat::GdipDeleteRegion(static_cast<native::Region*>(handle)); }

bool Region::Create() { return CreateNative(flat::GdipCreateRegion); }

bool Region::CreateFromRect(const RectF& rect) {
  const native::RectF block = ToNative(rect);
  return CreateNative(flat::GdipCreateRegionRect, &block);
}

bool Region::CreateFromRectI(const RectI& rect) {
  const native::Rect block = ToNative(rect);
  return CreateNative(flat::GdipCreateRegionRectI, &block);
}

bool Region::CreateFromPath(const DrawObject& path) { return CreateNative(flat::GdipCreateRegionPath, PathOf(path)); }

bool Region::CreateFromHrgn(HRGN region) { return CreateNative(flat::GdipCreateRegionHrgn, region); }

bool Region::CreateFromData(const ByteBuffer& data, int size) {
  if (size < 0 || static_cast<std::size_t>(size) > data.size()) return detail::Refuse();
  return CreateNative(flat::GdipCreateRegionRgnData, data.data(), size);
}

bool Region::CloneTo(Region& target) const { return CreateInto(target, flat::GdipCloneRegion, region_); }

bool Region::MakeInfinite() { return Call(flat::GdipSetInfinite, region_); }
bool Region::MakeEmpty() { return Call(flat::GdipSetEmpty, region_); }

bool Region::CombineRect(const RectF& rect, std::optional<int> combineMode) {
  const native::RectF block = ToNative(rect);
  return Call(flat::GdipCombineRegionRect, region_, &block, ModeOf(combineMode));
}

bool Region::CombineRectI(const RectI& rect, std::optional<int> combineMode) {
  const native::Rect block = ToNative(rect);
  return Call(flat::GdipCombineRegionRectI, region_, &block, ModeOf(combineMode));
}

bool Region::CombineRegion(const Region& region, std::optional<int> combineMode) {
  return Call(flat::GdipCombineRegionRegion, region_, region.region_, ModeOf(combineMode));
}

bool Region::CombinePath(const DrawObject& path, std::optional<int> combineMode) {
  return Call(flat::GdipCombineRegionPath, region_, PathOf(path), ModeOf(combineMode));
}

bool Region::Translate(float dx, float dy) { return Call(flat::GdipTranslateRegion, region_, dx, dy); }
bool Region::TranslateI(int dx, int dy) { return Call(flat::GdipTranslateRegionI, region_, dx, dy); }
bool Region::Transform(const DrawObject& matrix) { return Call(flat::GdipTransformRegion, region_, MatrixOf(matrix)); }

RectF Region::GetBounds(const Graphics& graphics) const {
  return FromNative(Query(flat::GdipGetRegionBounds, region_, GraphicsOf(&graphics)));
}

RectI Region::GetBoundsI(const Graphics& graphics) const {
  return FromNative(Query(flat::GdipGetRegionBoundsI, region_, GraphicsOf(&graphics)));
}

int Region::GetDataSize() const { return static_cast<int>(Query(flat::GdipGetRegionDataSize, region_)); }

ByteBuffer Region::GetData(int bufferSize, unsigned* filled) const {
  ByteBuffer data;
  try {
    data.resize(static_cast<std::size_t>(std::max(bufferSize, 0)));
  } catch (const std::bad_alloc&) {
    SetLastStatus(kStatusOutOfMemory);
    if (filled) *filled = 0;
    return {};
  }
  UINT written = 0;
  Call(flat::GdipGetRegionData, region_, data.data(), static_cast<UINT>(data.size()), &written);
  if (filled) *filled = written;
  return data;
}

HRGN Region::GetHRGN(const Graphics& graphics) const {
  return Query(flat::GdipGetRegionHRgn, region_, GraphicsOf(&graphics));
}

bool Region::IsEmpty(const Graphics& graphics) const {
  return Query(flat::GdipIsEmptyRegion, region_, GraphicsOf(&graphics)) != FALSE;
}

bool Region::IsInfinite(const Graphics& graphics) const {
  return Query(flat::GdipIsInfiniteRegion, region_, GraphicsOf(&graphics)) != FALSE;
}

bool Region::IsEqual(const Region& region, const Graphics& graphics) const {
  return Query(flat::GdipIsEqualRegion, region_, region.region_, GraphicsOf(&graphics)) != FALSE;
}

bool Region::IsVisiblePoint(const PointF& point, const Graphics* graphics) const {
  return Query(flat::GdipIsVisibleRegionPoint, region_, point.x, point.y, GraphicsOf(graphics)) != FALSE;
}

bool Region::IsVisiblePointI(const PointI& point, const Graphics* graphics) const {
  return Query(flat::GdipIsVisibleRegionPointI, region_, point.x, point.y, GraphicsOf(graphics)) != FALSE;
}

bool Region::IsVisibleRect(const RectF& rect, const Graphics* graphics) const {
  return Query(flat::GdipIsVisibleRegionRect, region_, rect.x, rect.y, rect.width, rect.height, GraphicsOf(graphics)) !=
         FALSE;
}

bool Region::IsVisibleRectI(const RectI& rect, const Graphics* graphics) const {
  return Query(flat::GdipIsVisibleRegionRectI, region_, rect.x, rect.y, rect.width, rect.height,
               GraphicsOf(graphics)) != FALSE;
}

int Region::GetScansCount(const DrawObject& matrix) const {
  UINT count = 0;
  if (!Call(flat::GdipGetRegionScansCount, region_, &count, MatrixOf(matrix))) return 0;
  return static_cast<int>(count);
}

namespace {

// Both scan reads: ask the count, size the caller's array, read the scans
// into a block of library rectangles and copy them back.
template <typename Record, typename ReadScans>
int ReadScansInto(native::Region* region, native::Matrix* matrix, std::vector<Record>& rects, ReadScans read) {
  UINT count = 0;
  if (!Call(flat::GdipGetRegionScansCount, region, &count, matrix)) return 0;
  rects.assign(count, Record{});
  auto block = ToNative(rects);
  INT read_count = static_cast<INT>(count);
  if (!Call(read, region, block.data(), &read_count, matrix)) return static_cast<int>(count);
  CopyBack(block, rects);
  return static_cast<int>(count);
}

}  // namespace

int Region::GetScans(const DrawObject& matrix, std::vector<RectF>& rects) const {
  return ReadScansInto(region_, MatrixOf(matrix), rects, flat::GdipGetRegionScans);
}

int Region::GetScansI(const DrawObject& matrix, std::vector<RectI>& rects) const {
  return ReadScansInto(region_, MatrixOf(matrix), rects, flat::GdipGetRegionScansI);
}

}  // namespace varnelo::draw
