// The ANSI code page's lead bytes as the system reports them.
#include <windows.h>

#include "qr/object/payload_codepage.h"

namespace varnelo::qr {

bool IsAnsiLeadByte(std::uint8_t byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace varnelo::qr
