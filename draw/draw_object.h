// The base of every drawing object: one native library object, owned
// exclusively. Windows only.
//
// Every class's operations begin with the same seven: Release, Clone,
// GetNativeHandle, SetNativeHandle, OnHandleChanged, Alloc, Free. Objects are
// not copied (a copy would share and later double-free the native object);
// the classes' CloneTo operations make a second native object instead.
#pragma once

#include <cstddef>

#include "draw/status.h"

namespace varnelo::draw {

class DrawObject {
 public:
  // An opaque library pointer; nullptr when the object holds nothing.
  using NativeHandle = void*;

  DrawObject() = default;
  DrawObject(const DrawObject&) = delete;
  DrawObject& operator=(const DrawObject&) = delete;
  virtual ~DrawObject() = default;

  // End of life: the class's own release operation, then the owned streams.
  // Derived destructors call it.
  virtual void Release() {}

  NativeHandle GetNativeHandle() const { return handle_; }
  // Stores the handle, then tells every level of the class through
  // OnHandleChanged so their typed copies stay equal to it.
  void SetNativeHandle(NativeHandle handle);
  // Gives the object a native object a library call has just made. A native
  // object held before is deleted first (its status is not kept), unless it
  // is the same one.
  void AdoptNativeHandle(NativeHandle fresh);

  // Stores this level's typed copy of the handle; levels that have a
  // second-level hook call it from here.
  virtual void OnHandleChanged(NativeHandle handle) = 0;

  // Memory from the library's allocator, for records handed to it.
  static void* Alloc(std::size_t size);
  static void Free(void* memory);

 protected:
  // The library's delete call for a held native object; returns its status.
  // Classes whose native objects are not theirs to delete return Ok.
  virtual int DeleteNative(NativeHandle handle) = 0;

  // The release operations all behave alike: without a handle false, no
  // library call and the last status untouched; otherwise the delete call,
  // its status stored, the handle cleared, true when it succeeded.
  bool ReleaseNative();

  // A create call whose last parameter receives the new native object: the
  // status is stored, and on success the object adopts the new handle. On
  // failure the object keeps what it held.
  template <typename Fn, typename... Args>
  bool CreateNative(Fn fn, Args... args);

 private:
  NativeHandle handle_ = nullptr;
};

// A native object of a kind this layer has no class for (a pen, path,
// matrix, image attributes, cached bitmap, metafile), lent to an operation.
// It never deletes the object.
class NativeObjectRef : public DrawObject {
 public:
  explicit NativeObjectRef(NativeHandle handle = nullptr) { SetNativeHandle(handle); }
  void OnHandleChanged(NativeHandle) override {}

 protected:
  int DeleteNative(NativeHandle) override { return kStatusOk; }
};

// A library call whose last parameter receives a new native object: the
// status is stored, and on success `target` adopts the object (deleting one
// it held). On failure the target keeps what it held.
template <typename Fn, typename... Args>
bool CreateInto(DrawObject& target, Fn fn, Args... args) {
  detail::OutParamT<Fn> fresh{};
  if (!detail::Call(fn, args..., &fresh)) return false;
  target.AdoptNativeHandle(fresh);
  return true;
}

template <typename Fn, typename... Args>
bool DrawObject::CreateNative(Fn fn, Args... args) {
  return CreateInto(*this, fn, args...);
}

// The handle of an optional drawing object argument; nullptr when absent.
inline DrawObject::NativeHandle HandleOf(const DrawObject* object) {
  return object ? object->GetNativeHandle() : nullptr;
}

}  // namespace varnelo::draw
