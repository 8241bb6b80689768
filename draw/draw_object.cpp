#include "draw/draw_object.h"

#include "draw/native.h"

namespace varnelo::draw {

void DrawObject::SetNativeHandle(NativeHandle handle) {
  handle_ = handle;
  OnHandleChanged(handle);
}

void DrawObject::AdoptNativeHandle(NativeHandle fresh) {
  if (handle_ && handle_ != fresh) {
    const int status = LastStatus();
    DeleteNative(handle_);
    SetLastStatus(status);
  }
  SetNativeHandle(fresh);
}

bool DrawObject::ReleaseNative() {
  if (!handle_) return false;
  const int status = DeleteNative(handle_);
  SetLastStatus(status);
  SetNativeHandle(nullptr);
  return status == kStatusOk;
}

void* DrawObject::Alloc(std::size_t size) { return native::flat::GdipAlloc(size); }
void DrawObject::Free(void* memory) { native::flat::GdipFree(memory); }

}  // namespace varnelo::draw
