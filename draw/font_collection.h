// A library font collection, given to the object from outside (for example
// the installed fonts); the object never creates or deletes one, and its
// Release does nothing. Windows only.
#pragma once

#include <memory>
#include <vector>

#include "draw/draw_object.h"
#include "draw/native.h"

namespace varnelo::draw {

class FontFamily;

class FontCollection : public DrawObject {
 public:
  FontCollection() = default;

  // Stores the collection handle, then calls OnCollectionHandleChanged.
  void OnHandleChanged(NativeHandle handle) override;
  virtual void OnCollectionHandleChanged(NativeHandle handle);

  int GetFamilyCount() const;
  // Replaces `families` with the families found (at most `wanted`, which
  // must be at least 1) and returns their number. Each family is the
  // object's own copy: give it back with its Delete.
  int GetFamilies(int wanted, std::vector<std::unique_ptr<FontFamily>>& families) const;

 protected:
  int DeleteNative(NativeHandle) override { return kStatusOk; }

 private:
  native::FontCollection* collection_ = nullptr;
};

}  // namespace varnelo::draw
