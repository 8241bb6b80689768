// A library brush, made as a solid fill. Windows only.
#pragma once

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class Brush : public DrawObject {
 public:
  Brush() = default;
  ~Brush() override { Release(); }

  void Release() override { Delete(); }
  // Stores the brush handle, then calls OnSolidFillHandleChanged.
  void OnHandleChanged(NativeHandle handle) override;
  // The solid-fill hook: stores the solid-fill view of the handle.
  virtual void OnSolidFillHandleChanged(NativeHandle handle);

  // The release operation: GdipDeleteBrush; false without a handle.
  virtual bool Delete();
  bool CloneTo(Brush& target) const;
  int GetType() const;
  bool CreateSolid(ArgbColor color);
  bool SetColor(ArgbColor color);
  ArgbColor GetColor() const;

 protected:
  int DeleteNative(NativeHandle handle) override;

 private:
  native::Brush* brush_ = nullptr;
  native::SolidFill* solidFill_ = nullptr;
};

}  // namespace varnelo::draw
