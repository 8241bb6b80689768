#include "draw/font.h"

#include "draw/font_collection.h"
#include "draw/font_family.h"
#include "draw/graphics.h"
#include "draw/text_convert.h"
#include "win/handles.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

native::Graphics* GraphicsOf(const Graphics& graphics) {
  return static_cast<native::Graphics*>(graphics.GetNativeHandle());
}

// The 60-byte ANSI logical font of a GDI font, or nothing.
std::optional<LOGFONTA> LogFontOf(HGDIOBJ font) {
  LOGFONTA logFont{};
  if (!font || GetObjectA(font, sizeof logFont, &logFont) != static_cast<int>(sizeof logFont)) return std::nullopt;
  return logFont;
}

}  // namespace

void Font::OnHandleChanged(NativeHandle handle) { font_ = static_cast<native::Font*>(handle); }

bool Font::Delete() { return ReleaseNative(); }

int Font::DeleteNative(NativeHandle handle) { return flat::GdipDeleteFont(static_cast<native::Font*>(handle)); }

bool Font::CreateFromFamily(const FontFamily& family, float size, std::optional<int> style, std::optional<int> unit) {
  return CreateNative(flat::GdipCreateFont, static_cast<native::FontFamily*>(family.GetNativeHandle()), size,
                      style.value_or(0), static_cast<native::Unit>(unit.value_or(0)));
}

bool Font::CreateDefault() {
  const std::optional<LOGFONTA> logFont = LogFontOf(GetStockObject(DEFAULT_GUI_FONT));
  if (!logFont) return false;
  const win::WindowDc screen(nullptr);
  return CreateNative(flat::GdipCreateFontFromLogfontA, screen.get(), &*logFont);
}

bool Font::CreateFromMadeFamily(FontFamily& family, float size, std::optional<int> style, std::optional<int> unit) {
  const bool created = CreateFromFamily(family, size, style, unit);
  // Giving the temporary family back does not replace the font call's status.
  const int status = LastStatus();
  family.Delete();
  SetLastStatus(status);
  return created;
}

bool Font::CreateFromName(const TextBytes& familyName, float size, std::optional<int> style, std::optional<int> unit) {
  FontFamily family;
  {
    const FontCollection installed;  // no handle: the installed fonts
    family.CreateFromName(familyName, &installed);
  }
  return CreateFromMadeFamily(family, size, style, unit);
}

bool Font::CreateFromNameW(const ByteBuffer& familyName, float size, std::optional<int> style,
                           std::optional<int> unit) {
  FontFamily family;
  {
    const FontCollection installed;
    family.CreateFromNameW(familyName, &installed);
  }
  return CreateFromMadeFamily(family, size, style, unit);
}

bool Font::CreateFromHDC(HDC dc) { return CreateNative(flat::GdipCreateFontFromDC, dc); }

bool Font::CreateFromHDCFont(HDC dc, std::optional<HFONT> font) {
  const std::optional<LOGFONTA> logFont = font ? LogFontOf(*font) : std::nullopt;
  if (logFont) return CreateNative(flat::GdipCreateFontFromLogfontA, dc, &*logFont);
  return CreateNative(flat::GdipCreateFontFromDC, dc);
}

bool Font::CreateFromLogFontA(HDC dc, const LOGFONTA* logFont) {
  if (!logFont) return CreateNative(flat::GdipCreateFontFromDC, dc);
  return CreateNative(flat::GdipCreateFontFromLogfontA, dc, logFont);
}

bool Font::CreateFromLogFontW(HDC dc, const LOGFONTW* logFont) {
  if (!logFont) return CreateNative(flat::GdipCreateFontFromDC, dc);
  return CreateNative(flat::GdipCreateFontFromLogfontW, dc, logFont);
}

bool Font::CloneTo(Font& target) const { return CreateInto(target, flat::GdipCloneFont, font_); }

bool Font::GetLogFontA(const Graphics& graphics, LOGFONTA* logFont) const {
  return Call(flat::GdipGetLogFontA, font_, GraphicsOf(graphics), logFont);
}

bool Font::GetLogFontW(const Graphics& graphics, LOGFONTW* logFont) const {
  return Call(flat::GdipGetLogFontW, font_, GraphicsOf(graphics), logFont);
}

bool Font::GetFamily(FontFamily& target) const { return CreateInto(target, flat::GdipGetFamily, font_); }

int Font::GetStyle() const { return Query(flat::GdipGetFontStyle, font_); }
float Font::GetSize() const { return Query(flat::GdipGetFontSize, font_); }
int Font::GetUnit() const { return static_cast<int>(Query(flat::GdipGetFontUnit, font_)); }

float Font::GetHeight(const Graphics& graphics) const {
  return Query(flat::GdipGetFontHeight, static_cast<const native::Font*>(font_),
               static_cast<const native::Graphics*>(GraphicsOf(graphics)));
}

float Font::GetHeightGivenDPI(float dpi) const {
  return Query(flat::GdipGetFontHeightGivenDPI, static_cast<const native::Font*>(font_), dpi);
}

}  // namespace varnelo::draw
