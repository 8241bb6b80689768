// Texts of the QR object and their conversion to UTF-8. Windows only.
#pragma once

#include <string>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {

// A text in the system ANSI code page (GBK in the target locale). The text
// ends at its first zero byte, as the zero-terminated strings of the platform
// do.
using TextBytes = std::string;

// The text converted from the ANSI code page to UTF-8, without a terminating
// zero. Empty when the text is empty or the code page has no reading of it.
ByteBuffer TextToUtf8(const TextBytes& text);

}  // namespace varnelo::qr
