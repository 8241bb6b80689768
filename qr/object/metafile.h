// The two metafile exports. The header is portable; the Windows tree draws
// them with GDI, the native tree has no metafile and returns empty buffers.
#pragma once

#include "qr/object/exports.h"

namespace varnelo::qr {

// A standard Windows metafile (no placeable header): a light background
// (0, 0, W, H), then one brush and one fill per module, one logical unit per
// module. Empty without a code.
ByteBuffer ExportWmf(const SymbolView& symbol);

// An enhanced metafile with the description "TALVERN" LF stamp id: a light
// background (0, 0, W + 1, H + 1), then one brush and one fill per module.
// Empty without a code.
ByteBuffer ExportEmf(const SymbolView& symbol);

}  // namespace varnelo::qr
