// A library font. Windows only.
#pragma once

#include <optional>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class FontFamily;
class Graphics;

class Font : public DrawObject {
 public:
  Font() = default;
  ~Font() override { Release(); }

  void Release() override { Delete(); }
  void OnHandleChanged(NativeHandle handle) override;

  // The release operation: GdipDeleteFont; false without a handle.
  virtual bool Delete();
  // style: the library's style bits, omitted 0 (regular); unit: the
  // library's unit, omitted 0 (world).
  bool CreateFromFamily(const FontFamily& family, float size, std::optional<int> style = std::nullopt,
                        std::optional<int> unit = std::nullopt);
  // The stock default GUI font. False without touching the last status when
  // its logical font cannot be read.
  bool CreateDefault();
  // A family of the installed fonts by name; result and status are those of
  // the font call (a missing family makes it fail).
  bool CreateFromName(const TextBytes& familyName, float size, std::optional<int> style = std::nullopt,
                      std::optional<int> unit = std::nullopt);
  // familyName: UTF-16 bytes.
  bool CreateFromNameW(const ByteBuffer& familyName, float size, std::optional<int> style = std::nullopt,
                       std::optional<int> unit = std::nullopt);
  bool CreateFromHDC(HDC dc);
  // The GDI font's logical font when it can be read, else the DC's font.
  bool CreateFromHDCFont(HDC dc, std::optional<HFONT> font = std::nullopt);
  // logFont nullptr: the DC's font.
  bool CreateFromLogFontA(HDC dc, const LOGFONTA* logFont);
  bool CreateFromLogFontW(HDC dc, const LOGFONTW* logFont);
  bool CloneTo(Font& target) const;
  bool GetLogFontA(const Graphics& graphics, LOGFONTA* logFont) const;
  bool GetLogFontW(const Graphics& graphics, LOGFONTW* logFont) const;
  bool GetFamily(FontFamily& target) const;
  int GetStyle() const;
  float GetSize() const;
  int GetUnit() const;
  float GetHeight(const Graphics& graphics) const;
  float GetHeightGivenDPI(float dpi) const;

 protected:
  int DeleteNative(NativeHandle handle) override;

 private:
  // The font call of CreateFromName and CreateFromNameW on a made family.
  bool CreateFromMadeFamily(FontFamily& family, float size, std::optional<int> style, std::optional<int> unit);

  native::Font* font_ = nullptr;
};

}  // namespace varnelo::draw
