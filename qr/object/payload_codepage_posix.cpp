// UTF-8 texts: every byte of a multi-byte character is 0x80 or above.
#include "qr/object/payload_codepage.h"

namespace varnelo::qr {

bool IsAnsiLeadByte(std::uint8_t) { return false; }

}  // namespace varnelo::qr
