#include "draw/string_format.h"

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

void StringFormat::OnHandleChanged(NativeHandle handle) { format_ = static_cast<native::StringFormat*>(handle); }

bool StringFormat::Delete() { return ReleaseNative(); }

int StringFormat::DeleteNative(NativeHandle handle) {
  return flat::GdipDeleteStringFormat(static_cast<native::StringFormat*>(handle));
}

bool StringFormat::Create(std::optional<int> formatFlags, std::optional<int> language) {
  return CreateNative(flat::GdipCreateStringFormat, formatFlags.value_or(0), static_cast<LANGID>(language.value_or(0)));
}

bool StringFormat::GenericDefault() { return CreateNative(flat::GdipStringFormatGetGenericDefault); }
bool StringFormat::GenericTypographic() { return CreateNative(flat::GdipStringFormatGetGenericTypographic); }

bool StringFormat::CloneTo(StringFormat& target) const {
  return CreateInto(target, flat::GdipCloneStringFormat, format_);
}

bool StringFormat::SetFormatFlags(int flags) { return Call(flat::GdipSetStringFormatFlags, format_, flags); }

int StringFormat::GetFormatFlags() const { return Query(flat::GdipGetStringFormatFlags, format_); }

bool StringFormat::SetAlignment(int alignment) {
  return Call(flat::GdipSetStringFormatAlign, format_, static_cast<native::StringAlignment>(alignment));
}

int StringFormat::GetAlignment() const { return static_cast<int>(Query(flat::GdipGetStringFormatAlign, format_)); }

bool StringFormat::SetLineAlignment(int alignment) {
  return Call(flat::GdipSetStringFormatLineAlign, format_, static_cast<native::StringAlignment>(alignment));
}

int StringFormat::GetLineAlignment() const {
  return static_cast<int>(Query(flat::GdipGetStringFormatLineAlign, format_));
}

bool StringFormat::SetTrimming(int trimming) {
  return Call(flat::GdipSetStringFormatTrimming, format_, static_cast<native::StringTrimming>(trimming));
}

int StringFormat::GetTrimming() const { return static_cast<int>(Query(flat::GdipGetStringFormatTrimming, format_)); }

bool StringFormat::SetHotkeyPrefix(int prefix) { return Call(flat::GdipSetStringFormatHotkeyPrefix, format_, prefix); }

int StringFormat::GetHotkeyPrefix() const { return Query(flat::GdipGetStringFormatHotkeyPrefix, format_); }

bool StringFormat::SetTabStops(float firstTabOffset, const std::vector<float>& tabStops) {
  return Call(flat::GdipSetStringFormatTabStops, format_, firstTabOffset, static_cast<INT>(tabStops.size()),
              tabStops.data());
}

int StringFormat::GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const {
  const auto* format = format_;
  const INT count = Query(flat::GdipGetStringFormatTabStopCount, format);
  if (LastStatus() != kStatusOk || count < 0) return 0;
  tabStops.assign(static_cast<std::size_t>(count), 0.0f);
  Call(flat::GdipGetStringFormatTabStops, format, count, &firstTabOffset, tabStops.data());
  return count;
}

bool StringFormat::SetDigitSubstitution(int method, int language) {
  return Call(flat::GdipSetStringFormatDigitSubstitution, format_, static_cast<LANGID>(language),
              static_cast<native::StringDigitSubstitute>(method));
}

bool StringFormat::GetDigitSubstitution(DigitSubstitution& substitution) const {
  LANGID language = 0;
  native::StringDigitSubstitute method{};
  if (!Call(flat::GdipGetStringFormatDigitSubstitution, format_, &language, &method)) {
    return false;
  }
  substitution = {static_cast<int>(method), static_cast<int>(language)};
  return true;
}

bool StringFormat::SetMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges) {
  std::vector<native::CharacterRange> block;
  block.reserve(ranges.size());
  for (const CharacterRange& range : ranges) block.emplace_back(range.first, range.length);
  return Call(flat::GdipSetStringFormatMeasurableCharacterRanges, format_, static_cast<INT>(block.size()),
              static_cast<const native::CharacterRange*>(block.data()));
}

int StringFormat::GetMeasurableCharacterRangeCount() const {
  return Query(flat::GdipGetStringFormatMeasurableCharacterRangeCount, format_);
}

}  // namespace varnelo::draw
