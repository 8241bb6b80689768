// The metafile exports, recorded with GDI into memory metafiles and read back
// as their bits.
#include <windows.h>

#include "qr/object/metafile.h"
#include "win/handles.h"

namespace varnelo::qr {

namespace {

void Fill(HDC dc, const RECT& area, RgbColor colour) {
  win::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &area, brush.get());
}

// Every module, margins included, with a brush of its own.
void DrawModules(HDC dc, const SymbolView& symbol) {
  for (int row = 1; row <= symbol.height; ++row)
    for (int column = 1; column <= symbol.width; ++column)
      Fill(dc, RECT{column - 1, row - 1, column, row},
           symbol.Dark(row, column) ? symbol.darkColour : symbol.lightColour);
}

}  // namespace

ByteBuffer ExportWmf(const SymbolView& symbol) {
  if (!symbol.Drawable()) return {};
  win::MetaFileDc dc(CreateMetaFileA(nullptr));
  if (!dc) return {};
  Fill(dc.get(), RECT{0, 0, symbol.width, symbol.height}, symbol.lightColour);
  DrawModules(dc.get(), symbol);
  win::MetaFile metafile(CloseMetaFile(dc.release()));
  if (!metafile) return {};
  const UINT size = GetMetaFileBitsEx(metafile.get(), 0, nullptr);
  ByteBuffer bits(size, 0);
  if (size == 0 || GetMetaFileBitsEx(metafile.get(), size, bits.data()) != size) return {};
  return bits;
}

ByteBuffer ExportEmf(const SymbolView& symbol) {
  if (!symbol.Drawable()) return {};
  // A description ends with two zero bytes; std::string adds the second.
  std::string description = "TALVERN\n" + MakeStampId("QR", "EMFC");
  description += '\0';
  win::EnhMetaFileDc dc(CreateEnhMetaFileA(nullptr, nullptr, nullptr, description.c_str()));
  if (!dc) return {};
  // The background reaches one unit past the modules on the right and below.
  Fill(dc.get(), RECT{0, 0, symbol.width + 1, symbol.height + 1}, symbol.lightColour);
  DrawModules(dc.get(), symbol);
  win::EnhMetaFile metafile(CloseEnhMetaFile(dc.release()));
  if (!metafile) return {};
  const UINT size = GetEnhMetaFileBits(metafile.get(), 0, nullptr);
  ByteBuffer bits(size, 0);
  if (size == 0 || GetEnhMetaFileBits(metafile.get(), size, bits.data()) != size) return {};
  return bits;
}

}  // namespace varnelo::qr
