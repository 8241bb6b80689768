#include "draw/text_convert.h"

// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <cstring>

namespace varnelo::draw {

std::wstring WideFromAnsi(const TextBytes& text) {
  const char* source = text.c_str();
  const int units = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
  if (units <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, source, -1, wide.data(), units);
  wide.resize(static_cast<std::size_t>(units) - 1);  // the terminator stays implicit
  return wide;
}

std::wstring WideFromBytes(const ByteBuffer& bytes) {
  std::wstring wide(bytes.size() / 2, L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
  wide.resize(std::wcslen(wide.c_str()));
  return wide;
}

TextBytes TextFromWide(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  TextBytes narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

GuidText TextFromGuid(const GUID& guid) {
  wchar_t wide[40] = {};
  const int units = StringFromGUID2(guid, wide, 40);
  if (units <= 1) return {};
  // Registry form is plain ASCII.
  return GuidText(wide, wide + units - 1);
}

GUID GuidFromText(const GuidText& text) {
  GUID guid{};
  if (text.empty()) return guid;
  std::wstring wide(text.begin(), text.end());
  if (FAILED(CLSIDFromString(wide.c_str(), &guid))) guid = GUID{};
  return guid;
}

}  // namespace varnelo::draw
