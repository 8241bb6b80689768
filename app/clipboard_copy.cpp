#include "app/clipboard_copy.h"

#include <ocidl.h>
#include <olectl.h>

#include "app/gdiplus_support.h"
#include "win/handles.h"

namespace varnelo::app {
namespace {

// A device-dependent copy of a bitmap, as the screen keeps them. GDI+ hands
// out DIB sections; some clipboard bridges (Wine's export to X) cannot
// convert those for other programs, while every reader takes a screen bitmap.
win::Bitmap ScreenCompatibleCopy(HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) return {};
  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::Bitmap copy(CreateCompatibleBitmap(screen.get(), info.bmWidth, info.bmHeight));
  win::MemoryDc from(CreateCompatibleDC(screen.get()));
  win::MemoryDc to(CreateCompatibleDC(screen.get()));
  if (!copy || !from || !to) return {};
  bool copied;
  {
    win::Selection sourceSelected(from.get(), source);
    win::Selection copySelected(to.get(), copy.get());
    copied = BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY) != FALSE;
  }
  if (!copied) return {};
  return copy;
}

}  // namespace

bool CopyBitmapToClipboard(HWND owner, std::span<const std::uint8_t> bytes) {
  win::ComInit com;
  DecodedImage image = DecodeImage(bytes);
  if (!image) return false;
  gp::ImageType type = gp::ImageTypeUnknown;
  if (gp::flat::GdipGetImageType(image.get(), &type) != gp::Ok || type != gp::ImageTypeBitmap) return false;
  HBITMAP rawDecoded = nullptr;
  if (gp::flat::GdipCreateHBITMAPFromBitmap(static_cast<gp::GpBitmap*>(image.get()), &rawDecoded, 0xFFFFFFFF) !=
      gp::Ok) {
    return false;
  }
  win::Bitmap decoded(rawDecoded);
  win::Bitmap bitmap = ScreenCompatibleCopy(decoded.get());
  if (!bitmap) return false;

  // The bitmap travels as an OLE picture that does not own it (fOwn false),
  // so releasing the picture leaves the bitmap to the clipboard.
  PICTDESC description{};
  description.cbSizeofstruct = sizeof description;
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = bitmap.get();
  IPicture* rawPicture = nullptr;
  if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, FALSE, reinterpret_cast<void**>(&rawPicture))) ||
      !rawPicture) {
    return false;
  }
  win::ComPtr<IPicture> picture(rawPicture);
  OLE_HANDLE handle = 0;
  if (FAILED(picture.get()->get_Handle(&handle)) ||
      reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)) != bitmap.get()) {
    return false;
  }

  win::ClipboardSession clipboard(owner);
  if (!clipboard.open()) return false;
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, bitmap.get())) return false;  // the owner deletes it
  bitmap.release();  // the clipboard's now
  return true;
}

}  // namespace varnelo::app
