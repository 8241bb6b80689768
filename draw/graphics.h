// A library graphics context: a drawing surface on a window, a device
// context or an image. Pens, paths, matrices, image attributes, cached
// bitmaps and metafiles are any drawing object whose handle is the native
// object (see NativeObjectRef). Windows only.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class Brush;
class Font;
class Image;
class Region;
class StringFormat;

class Graphics : public DrawObject {
 public:
  Graphics() = default;
  ~Graphics() override { Release(); }

  void Release() override { Delete(); }
  void OnHandleChanged(NativeHandle handle) override;
  // Second-level hook, called with every new handle; empty here.
  virtual void OnGraphicsHandleChanged(NativeHandle handle);

  // The release operation: GdipDeleteGraphics; false without a handle.
  virtual bool Delete();

  // --- create
  // Draws into the image.
  bool FromImage(const Image& image);

  // --- quality settings
  bool SetTextRenderingHint(int hint);

  // --- clear
  bool Clear(ArgbColor color);

  // --- text
  // An uncreated StringFormat passes no format: the library's default layout.
  bool DrawString(const TextBytes& text, const Font& font, const Brush& brush, const RectF& layout,
                  const StringFormat& format);

  // --- images
  // The whole image stretched into the rectangle; sourceUnit omitted: pixel.
  bool DrawImageRect(const Image& image, float x, float y, float width, float height,
                     std::optional<int> sourceUnit = std::nullopt);

 protected:
  int DeleteNative(NativeHandle handle) override;
  native::Graphics* graphics() const { return graphics_; }

 private:
  native::Graphics* graphics_ = nullptr;
};

}  // namespace varnelo::draw
