// Outside Windows there is no metafile to record into: both formats give the
// empty buffer that stands for a failed export.
#include "qr/object/metafile.h"

namespace varnelo::qr {

ByteBuffer ExportWmf(const SymbolView&) { return {}; }
ByteBuffer ExportEmf(const SymbolView&) { return {}; }

}  // namespace varnelo::qr
