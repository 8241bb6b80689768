// Texts and GUIDs at the library boundary: ANSI texts become UTF-16, GUIDs
// travel as registry-form texts. Windows only.
#pragma once

#include <guiddef.h>

#include <string>

#include "draw/records.h"

namespace varnelo::draw {

// ANSI text (up to its first zero byte) as zero-terminated UTF-16.
std::wstring WideFromAnsi(const TextBytes& text);
// UTF-16 bytes as a wide string (an odd last byte is dropped), up to the first
// zero unit.
std::wstring WideFromBytes(const ByteBuffer& bytes);
// UTF-16 text in the given code page (CP_ACP, CP_OEMCP, ...).
TextBytes TextFromWide(const std::wstring& text, unsigned codePage);

// Registry form, upper-case: "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}".
GuidText TextFromGuid(const GUID& guid);
// The GUID a text names; 16 zero bytes for an empty or malformed text.
GUID GuidFromText(const GuidText& text);

}  // namespace varnelo::draw
