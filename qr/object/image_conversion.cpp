#include "qr/object/image_conversion.h"

#include <objidl.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "qr/object/gdiplus_flat.h"

namespace varnelo::qr {
namespace {

// Encoder class identifiers of the graphics library, indexed by ImageFormat.
constexpr std::array<const wchar_t*, kImageFormatCount> kEncoderClsids = {
    L"{557CF400-1A04-11D3-9A73-0000F81EF32E}",  // BMP
    L"{557CF401-1A04-11D3-9A73-0000F81EF32E}",  // JPEG
    L"{557CF402-1A04-11D3-9A73-0000F81EF32E}",  // GIF
    L"{557CF405-1A04-11D3-9A73-0000F81EF32E}",  // TIFF
    L"{557CF406-1A04-11D3-9A73-0000F81EF32E}",  // PNG
};

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
// Our BMP files declare a 44-byte information header: the standard header and
// the 4 bytes after it. Pixel data follows at 14 + 44.
constexpr int kWrittenInfoSize = 44;
constexpr int kWrittenPixelOffset = kFileHeaderSize + kWrittenInfoSize;

std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return static_cast<std::int32_t>(value);
}

void AppendUint32(ByteBuffer& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Global memory holding a copy of the bytes.
win::GlobalMemory GlobalCopy(std::span<const std::uint8_t> bytes, UINT flags) {
  win::GlobalMemory memory(GlobalAlloc(flags, bytes.size()));
  if (!memory) return {};
  win::GlobalLockGuard lock(memory.get());
  if (!lock.data()) return {};
  std::memcpy(lock.data(), bytes.data(), bytes.size());
  return memory;
}

// The graphics library's decoder knows only the published header sizes. Our
// 44-byte header is a 40-byte one followed by 4 unused bytes, and the file
// header points past them, so declaring 40 reads the same picture.
void DeclareStandardHeader(win::GlobalMemory& memory, std::span<const std::uint8_t> bytes) {
  if (!ReadBmpHeader(bytes) || ReadInt32(bytes, 14) != kWrittenInfoSize) return;
  win::GlobalLockGuard lock(memory.get());
  if (auto* data = static_cast<std::uint8_t*>(lock.data())) data[14] = kInfoHeaderSize;
}

}  // namespace

std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < static_cast<std::size_t>(kFileHeaderSize + kInfoHeaderSize)) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  if (ReadInt32(bytes, 14) < kInfoHeaderSize) return std::nullopt;
  BmpHeader header;
  const auto offset = static_cast<std::uint32_t>(ReadInt32(bytes, 10));
  header.width = ReadInt32(bytes, 18);
  header.height = ReadInt32(bytes, 22);
  if (offset < static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize) ||
      offset > bytes.size()) {
    return std::nullopt;
  }
  if (header.width <= 0 || header.height == 0 || header.height == INT_MIN) return std::nullopt;
  // Uncompressed rows must all be there.
  const std::uint32_t compression = static_cast<std::uint32_t>(ReadInt32(bytes, 30));
  if (compression == BI_RGB || compression == BI_BITFIELDS) {
    const std::uint64_t bits = static_cast<std::uint16_t>(bytes[28] | bytes[29] << 8);
    const std::uint64_t stride = (static_cast<std::uint64_t>(header.width) * bits + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(std::abs(static_cast<long long>(header.height)));
    if (bits == 0 || offset + stride * rows > bytes.size()) return std::nullopt;
  }
  header.pixelOffset = static_cast<int>(offset);
  return header;
}

ByteBuffer BitmapToBmpBytes(HBITMAP bitmap) {
  if (!bitmap) return {};
  BITMAP record{};
  if (GetObject(bitmap, sizeof record, &record) != sizeof record) return {};
  if (record.bmWidth <= 0 || record.bmHeight <= 0) return {};

  // The information block: header and room for a full colour table written
  // after the 44 bytes the header declares.
  alignas(BITMAPINFO) std::array<std::uint8_t, kWrittenInfoSize + 256 * sizeof(RGBQUAD) + 16> block{};
  auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
  info->bmiHeader.biSize = kWrittenInfoSize;

  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::MemoryDc dc(CreateCompatibleDC(screen.get()));
  if (!dc) return {};
  // Let the platform describe the bitmap's own format.
  if (GetDIBits(dc.get(), bitmap, 0, 0, nullptr, info, DIB_RGB_COLORS) == 0) return {};
  BITMAPINFOHEADER& header = info->bmiHeader;
  // A file without a colour table cannot carry palette indices: read such a
  // bitmap as true colour.
  if (header.biBitCount < 16) header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biHeight = std::abs(header.biHeight);
  const std::uint64_t stride = ((static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(header.biHeight);
  if (header.biWidth <= 0 || header.biHeight <= 0 || imageSize == 0 ||
      imageSize > 0x7FFFFFFF - kWrittenPixelOffset) {
    return {};
  }
  header.biSizeImage = static_cast<DWORD>(imageSize);

  ByteBuffer pixels(imageSize);
  const int lines = GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(header.biHeight),
                              pixels.data(), info, DIB_RGB_COLORS);
  if (lines != header.biHeight) return {};
  header.biSize = kWrittenInfoSize;

  ByteBuffer file;
  file.reserve(kWrittenPixelOffset + imageSize);
  file.push_back('B');
  file.push_back('M');
  AppendUint32(file, static_cast<std::uint32_t>(kWrittenPixelOffset + imageSize));
  AppendUint32(file, 0);  // two reserved 16-bit fields
  AppendUint32(file, kWrittenPixelOffset);
  file.insert(file.end(), block.begin(), block.begin() + kWrittenInfoSize);
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

ByteBuffer ConvertImageBytes(std::span<const std::uint8_t> bytes, int type) {
  if (type < 1 || type > kImageFormatCount || bytes.empty()) return {};
  CLSID encoder{};
  if (FAILED(CLSIDFromString(kEncoderClsids[type - 1], &encoder))) return {};

  win::GlobalMemory input = GlobalCopy(bytes, GMEM_MOVEABLE);
  if (!input) return {};
  DeclareStandardHeader(input, bytes);
  IStream* rawSource = nullptr;
  if (FAILED(CreateStreamOnHGlobal(input.get(), TRUE, &rawSource))) return {};
  input.release();  // the stream frees the block
  win::ComPtr<IStream> source(rawSource);

  // Declared after the stream it reads from, so it is disposed first.
  gdiplus::Image image = gdiplus::LoadBitmapFromStream(source.get());
  if (!image) return {};

  IStream* rawOutput = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &rawOutput))) return {};
  win::ComPtr<IStream> output(rawOutput);
  if (!gdiplus::SaveImageToStream(image.get(), output.get(), encoder)) return {};

  // The block may be larger than what the encoder wrote: take the stream's
  // length only.
  STATSTG stat{};
  if (FAILED(output.get()->Stat(&stat, STATFLAG_NONAME))) return {};
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(output.get(), &memory))) return {};
  win::GlobalLockGuard lock(memory);
  if (!lock.data()) return {};
  const std::uint64_t length = std::min<std::uint64_t>(stat.cbSize.QuadPart, GlobalSize(memory));
  if (length == 0) return {};
  const auto* data = static_cast<const std::uint8_t*>(lock.data());
  return ByteBuffer(data, data + length);
}

win::Bitmap BitmapFromImageBytes(std::span<const std::uint8_t> bytes, int width, int height) {
  if (bytes.empty() || width < 0 || height < 0 || bytes.size() > LONG_MAX) return {};
  // The picture loader trusts a BMP's header: check it first.
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M' && !ReadBmpHeader(bytes)) return {};
  // The picture loader reads some formats through COM components.
  win::ComInit com;
  win::GlobalMemory memory = GlobalCopy(bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!memory) return {};
  IStream* rawStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), FALSE, &rawStream))) return {};
  win::ComPtr<IStream> stream(rawStream);

  // Not in run mode: the picture owns its bitmap and deletes it when released.
  IPicture* rawPicture = nullptr;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&rawPicture))) ||
      !rawPicture) {
    return {};
  }
  win::ComPtr<IPicture> picture(rawPicture);
  SHORT type = PICTYPE_UNINITIALIZED;
  if (FAILED(picture.get()->get_Type(&type)) || type != PICTYPE_BITMAP) return {};
  OLE_HANDLE handle = 0;
  if (FAILED(picture.get()->get_Handle(&handle)) || handle == 0) return {};
  // Handles travel as 32-bit values and are sign-extended back.
  const auto source = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
  // The caller gets a copy; the picture's own bitmap goes with the picture.
  return win::Bitmap(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, width, height, 0)));
}

ByteBuffer ScaleImageBytes(std::span<const std::uint8_t> bmpBytes, int width, int height) {
  const std::optional<BmpHeader> header = ReadBmpHeader(bmpBytes);
  if (!header || width <= 0 || height <= 0) return {};
  win::Bitmap source = BitmapFromImageBytes(bmpBytes);
  if (!source) return {};

  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::MemoryDc targetDc(CreateCompatibleDC(screen.get()));
  win::MemoryDc sourceDc(CreateCompatibleDC(screen.get()));
  win::Bitmap target(CreateCompatibleBitmap(screen.get(), width, height));
  if (!targetDc || !sourceDc || !target) return {};
  bool stretched = false;
  {
    win::Selection intoTarget(targetDc.get(), target.get());
    win::Selection fromSource(sourceDc.get(), source.get());
    // The DC's default stretch mode repeats source pixels when enlarging.
    stretched = StretchBlt(targetDc.get(), 0, 0, width, height, sourceDc.get(), 0, 0, header->width,
                           std::abs(header->height), SRCCOPY) != 0;
  }
  if (!stretched) return {};
  return BitmapToBmpBytes(target.get());
}

}  // namespace varnelo::qr
