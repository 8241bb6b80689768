#include "draw/brush.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

void Brush::OnHandleChanged(NativeHandle handle) {
  brush_ = static_cast<native::Brush*>(handle);
  OnSolidFillHandleChanged(handle);
}

void Brush::OnSolidFillHandleChanged(NativeHandle handle) { solidFill_ = static_cast<native::SolidFill*>(handle); }

bool Brush::Delete() { return ReleaseNative(); }

int Brush::DeleteNative(NativeHandle handle) { return flat::GdipDeleteBrush(static_cast<native::Brush*>(handle)); }

bool Brush::CloneTo(Brush& target) const { return CreateInto(target, flat::GdipCloneBrush, brush_); }

int Brush::GetType() const { return static_cast<int>(Query(flat::GdipGetBrushType, brush_)); }

bool Brush::CreateSolid(ArgbColor color) {
  return CreateNative(flat::GdipCreateSolidFill, static_cast<native::ARGB>(color));
}

bool Brush::SetColor(ArgbColor color) {
  return Call(flat::GdipSetSolidFillColor, solidFill_, static_cast<native::ARGB>(color));
}

ArgbColor Brush::GetColor() const { return Query(flat::GdipGetSolidFillColor, solidFill_); }

}  // namespace varnelo::draw
