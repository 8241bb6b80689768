#include "qr/object/text_conversion.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

namespace varnelo::qr {

ByteBuffer TextToUtf8(const TextBytes& text) {
  const std::size_t length = std::strlen(text.c_str());
  if (length == 0 || length > INT_MAX) return {};
  const int ansiLength = static_cast<int>(length);
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), ansiLength, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), ansiLength, wide.data(), wideLength) != wideLength) {
    return {};
  }
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0,
                                             nullptr, nullptr);
  if (utf8Length <= 0) return {};
  ByteBuffer utf8(static_cast<std::size_t>(utf8Length));
  if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength,
                          reinterpret_cast<char*>(utf8.data()), utf8Length, nullptr,
                          nullptr) != utf8Length) {
    return {};
  }
  return utf8;
}

}  // namespace varnelo::qr
