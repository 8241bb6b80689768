// The layer's records as the library's and back; arrays are copied into a
// contiguous block of library records for a call and copied back after it.
// Windows only.
#pragma once

#include <vector>

#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

inline native::PointF ToNative(const PointF& p) { return native::PointF(p.x, p.y); }
inline native::Point ToNative(const PointI& p) { return native::Point(p.x, p.y); }
inline native::RectF ToNative(const RectF& r) { return native::RectF(r.x, r.y, r.width, r.height); }
inline native::Rect ToNative(const RectI& r) { return native::Rect(r.x, r.y, r.width, r.height); }

inline PointF FromNative(const native::PointF& p) { return {p.X, p.Y}; }
inline PointI FromNative(const native::Point& p) { return {p.X, p.Y}; }
inline RectF FromNative(const native::RectF& r) { return {r.X, r.Y, r.Width, r.Height}; }
inline RectI FromNative(const native::Rect& r) { return {r.X, r.Y, r.Width, r.Height}; }

template <typename Record>
auto ToNative(const std::vector<Record>& records) {
  std::vector<decltype(ToNative(Record{}))> block;
  block.reserve(records.size());
  for (const Record& record : records) block.push_back(ToNative(record));
  return block;
}

template <typename Record, typename NativeRecord>
void CopyBack(const std::vector<NativeRecord>& block, std::vector<Record>& records) {
  for (std::size_t i = 0; i < records.size() && i < block.size(); ++i) records[i] = FromNative(block[i]);
}

}  // namespace varnelo::draw
