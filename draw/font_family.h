// A library font family. Its Release does nothing: a family goes back to the
// library only through an explicit Delete. Windows only.
#pragma once

#include <optional>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class FontCollection;

class FontFamily : public DrawObject {
 public:
  FontFamily() = default;

  void OnHandleChanged(NativeHandle handle) override;

  // The release operation: GdipDeleteFontFamily; false without a handle.
  virtual bool Delete();
  // collection omitted or without a handle: the installed fonts.
  bool CreateFromName(const TextBytes& name, const FontCollection* collection = nullptr);
  // name: UTF-16 bytes.
  bool CreateFromNameW(const ByteBuffer& name, const FontCollection* collection = nullptr);
  bool GenericSansSerif();
  bool GenericSerif();
  bool GenericMonospace();
  bool CloneTo(FontFamily& target) const;
  // The family name as ANSI text, like every text of the layer; empty on
  // failure.
  TextBytes GetName() const;
  // The library's 64-byte name buffer (32 UTF-16 units) as it came; empty on
  // failure.
  ByteBuffer GetNameW() const;
  bool IsStyleAvailable(int style) const;
  int GetEmHeight(int style) const;
  int GetCellAscent(int style) const;
  int GetCellDescent(int style) const;
  int GetLineSpacing(int style) const;

 protected:
  int DeleteNative(NativeHandle handle) override;

 private:
  native::FontFamily* family_ = nullptr;
};

}  // namespace varnelo::draw
