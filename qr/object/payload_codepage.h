// Whether a byte starts a double-byte character in the system ANSI code page
// (GBK in the target locale). Texts outside Windows are UTF-8, where no byte
// below 0x80 continues a character, so there it is always false.
#pragma once

#include <cstdint>

namespace varnelo::qr {

bool IsAnsiLeadByte(std::uint8_t byte);

}  // namespace varnelo::qr
