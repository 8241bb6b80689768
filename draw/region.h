// A library region. Path and matrix arguments are any drawing object whose
// handle is the native object (see NativeObjectRef). Windows only.
#pragma once

#include <optional>
#include <vector>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class Graphics;

class Region : public DrawObject {
 public:
  Region() = default;
  ~Region() override { Release(); }

  void Release() override { Delete(); }
  void OnHandleChanged(NativeHandle handle) override;

  // The release operation: GdipDeleteRegion; false without a handle.
  virtual bool Delete();
  // The infinite region.
  bool Create();
  bool CreateFromRect(const RectF& rect);
  bool CreateFromRectI(const RectI& rect);
  bool CreateFromPath(const DrawObject& path);
  bool CreateFromHrgn(HRGN region);
  // data: region data as GetData returns it; size at most data.size().
  bool CreateFromData(const ByteBuffer& data, int size);
  bool CloneTo(Region& target) const;
  bool MakeInfinite();
  bool MakeEmpty();
  // combineMode omitted: intersect.
  bool CombineRect(const RectF& rect, std::optional<int> combineMode = std::nullopt);
  bool CombineRectI(const RectI& rect, std::optional<int> combineMode = std::nullopt);
  bool CombineRegion(const Region& region, std::optional<int> combineMode = std::nullopt);
  bool CombinePath(const DrawObject& path, std::optional<int> combineMode = std::nullopt);
  bool Translate(float dx, float dy);
  bool TranslateI(int dx, int dy);
  bool Transform(const DrawObject& matrix);
  RectF GetBounds(const Graphics& graphics) const;
  RectI GetBoundsI(const Graphics& graphics) const;
  int GetDataSize() const;
  // bufferSize bytes (negative: none); *filled receives the bytes written.
  ByteBuffer GetData(int bufferSize, unsigned* filled = nullptr) const;
  // A new GDI region the caller owns; nullptr on failure.
  HRGN GetHRGN(const Graphics& graphics) const;
  bool IsEmpty(const Graphics& graphics) const;
  bool IsInfinite(const Graphics& graphics) const;
  bool IsEqual(const Region& region, const Graphics& graphics) const;
  bool IsVisiblePoint(const PointF& point, const Graphics* graphics = nullptr) const;
  bool IsVisiblePointI(const PointI& point, const Graphics* graphics = nullptr) const;
  bool IsVisibleRect(const RectF& rect, const Graphics* graphics = nullptr) const;
  bool IsVisibleRectI(const RectI& rect, const Graphics* graphics = nullptr) const;
  int GetScansCount(const DrawObject& matrix) const;
  // Replaces `rects` with the scans and returns their count (0 when the
  // count cannot be read); `rects` keeps its new size when the scans call
  // fails.
  int GetScans(const DrawObject& matrix, std::vector<RectF>& rects) const;
  int GetScansI(const DrawObject& matrix, std::vector<RectI>& rects) const;

 protected:
  int DeleteNative(NativeHandle handle) override;

 private:
  native::Region* region_ = nullptr;
};

}  // namespace varnelo::draw
