#include "draw/font_family.h"

#include <cstring>

#include "draw/font_collection.h"
#include "draw/text_convert.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

namespace {

constexpr int kNameUnits = LF_FACESIZE;  // 32 UTF-16 units, 64 bytes

native::FontCollection* CollectionOf(const FontCollection* collection) {
  return static_cast<native::FontCollection*>(HandleOf(collection));
}

}  // namespace

void FontFamily::OnHandleChanged(NativeHandle handle) { family_ = static_cast<native::FontFamily*>(handle); }

bool FontFamily::Delete() { return ReleaseNative(); }

int FontFamily::DeleteNative(NativeHandle handle) {
  return flat::GdipDeleteFontFamily(static_cast<native::FontFamily*>(handle));
}

bool FontFamily::CreateFromName(const TextBytes& name, const FontCollection* collection) {
  const std::wstring wide = WideFromAnsi(name);
  return CreateNative(flat::GdipCreateFontFamilyFromName, wide.c_str(), CollectionOf(collection));
}

bool FontFamily::CreateFromNameW(const ByteBuffer& name, const FontCollection* collection) {
  const std::wstring wide = WideFromBytes(name);
  return CreateNative(flat::GdipCreateFontFamilyFromName, wide.c_str(), CollectionOf(collection));
}

bool FontFamily::GenericSansSerif() { return CreateNative(flat::GdipGetGenericFontFamilySansSerif); }
bool FontFamily::GenericSerif() { return CreateNative(flat::GdipGetGenericFontFamilySerif); }
bool FontFamily::GenericMonospace() { return CreateNative(flat::GdipGetGenericFontFamilyMonospace); }

bool FontFamily::CloneTo(FontFamily& target) const { return CreateInto(target, flat::GdipCloneFontFamily, family_); }

TextBytes FontFamily::GetName() const {
  WCHAR name[kNameUnits] = {};
  if (!Call(flat::GdipGetFamilyName, family_, name, static_cast<LANGID>(0))) return {};
  return TextFromWide(std::wstring(name, wcsnlen(name, kNameUnits)), CP_ACP);
}

ByteBuffer FontFamily::GetNameW() const {
  WCHAR name[kNameUnits] = {};
  if (!Call(flat::GdipGetFamilyName, family_, name, static_cast<LANGID>(0))) return {};
  ByteBuffer bytes(sizeof name);
  std::memcpy(bytes.data(), name, sizeof name);
  return bytes;
}

bool FontFamily::IsStyleAvailable(int style) const {
  return Query(flat::GdipIsStyleAvailable, family_, style) != FALSE;
}

int FontFamily::GetEmHeight(int style) const { return Query(flat::GdipGetEmHeight, family_, style); }
int FontFamily::GetCellAscent(int style) const { return Query(flat::GdipGetCellAscent, family_, style); }
int FontFamily::GetCellDescent(int style) const { return Query(flat::GdipGetCellDescent, family_, style); }
int FontFamily::GetLineSpacing(int style) const { return Query(flat::GdipGetLineSpacing, family_, style); }

}  // namespace varnelo::draw
