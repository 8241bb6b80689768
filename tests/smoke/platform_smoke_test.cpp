// Proves the platform stack the Windows build relies on: the graphics library,
// CJK font resolution through the prefix's font replacements, PNG encoding,
// windows and the clipboard.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpStatus;

namespace {

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  ~GdiplusSession() {
    if (status_ == Gdiplus::Ok) Gdiplus::GdiplusShutdown(token_);
  }
  Gdiplus::Status status() const { return status_; }

 private:
  ULONG_PTR token_ = 0;
  Gdiplus::Status status_;
};

std::vector<unsigned char> StreamBytes(IStream* stream) {
  HGLOBAL memory = nullptr;
  std::vector<unsigned char> bytes;
  if (FAILED(GetHGlobalFromStream(stream, &memory))) return bytes;
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const auto* data = static_cast<const unsigned char*>(GlobalLock(memory));
  if (data) bytes.assign(data, data + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return bytes;
}

TEST(PlatformSmoke, GraphicsLibraryDrawsCjkTextAndSavesPng) {
  GdiplusSession session;
  ASSERT_EQ(session.status(), Gdiplus::Ok);

  Gdiplus::GpFontFamily* family = nullptr;
  ASSERT_EQ(gp::GdipCreateFontFamilyFromName(L"\u5b8b\u4f53", nullptr, &family), Gdiplus::Ok)
      << "the font family 宋体 must resolve through the font replacements";
  WCHAR name[LF_FACESIZE] = {};
  EXPECT_EQ(gp::GdipGetFamilyName(family, name, 0), Gdiplus::Ok);
  EXPECT_NE(name[0], 0);

  Gdiplus::GpBitmap* bitmap = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromScan0(288, 312, 0, PixelFormat32bppARGB, nullptr, &bitmap),
            Gdiplus::Ok);
  Gdiplus::GpGraphics* graphics = nullptr;
  ASSERT_EQ(gp::GdipGetImageGraphicsContext(bitmap, &graphics), Gdiplus::Ok);
  EXPECT_EQ(gp::GdipGraphicsClear(graphics, 0xFFFFFFFF), Gdiplus::Ok);

  Gdiplus::GpFont* font = nullptr;
  ASSERT_EQ(gp::GdipCreateFont(family, 12.0f, Gdiplus::FontStyleBold, Gdiplus::UnitWorld, &font),
            Gdiplus::Ok);
  Gdiplus::GpSolidFill* brush = nullptr;
  ASSERT_EQ(gp::GdipCreateSolidFill(0xF4FF0000, &brush), Gdiplus::Ok);
  const wchar_t caption[] = L"\u3010Oskirra\u3011\u626b\u798f\u8f85\u52a9\u751f\u6210\uff1a";
  Gdiplus::RectF layout(6.0f, 6.0f, 288.0f, 24.0f);
  EXPECT_EQ(gp::GdipDrawString(graphics, caption, static_cast<INT>(wcslen(caption)), font, &layout,
                               nullptr, brush),
            Gdiplus::Ok);

  // Red caption pixels in the top band, none below it.
  int red = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 288; ++x) {
      Gdiplus::ARGB pixel = 0;
      gp::GdipBitmapGetPixel(bitmap, x, y, &pixel);
      if ((pixel & 0x00FF0000) > 0x00800000 && (pixel & 0x0000FF00) < 0x00008000) ++red;
    }
  }
  EXPECT_GT(red, 50);

  CLSID png{};
  ASSERT_EQ(CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png), S_OK);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(gp::GdipSaveImageToStream(bitmap, stream, &png, nullptr), Gdiplus::Ok);
  std::vector<unsigned char> bytes = StreamBytes(stream);
  stream->Release();
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0);

  // The PNG reads back at its size.
  IStream* in = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &in), S_OK);
  ULONG written = 0;
  in->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero{};
  in->Seek(zero, STREAM_SEEK_SET, nullptr);
  Gdiplus::GpBitmap* decoded = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromStream(in, &decoded), Gdiplus::Ok);
  UINT w = 0, h = 0;
  gp::GdipGetImageWidth(decoded, &w);
  gp::GdipGetImageHeight(decoded, &h);
  EXPECT_EQ(w, 288u);
  EXPECT_EQ(h, 312u);
  gp::GdipDisposeImage(decoded);
  in->Release();

  gp::GdipDeleteBrush(brush);
  gp::GdipDeleteFont(font);
  gp::GdipDeleteFontFamily(family);
  gp::GdipDeleteGraphics(graphics);
  gp::GdipDisposeImage(bitmap);
}

TEST(PlatformSmoke, WindowAndClipboardBitmapRoundTrip) {
  HWND window = CreateWindowExA(0, "STATIC", "smoke", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);

  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 7);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 10, 7};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(memory, &all, blue);
  DeleteObject(blue);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  EXPECT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
  CloseClipboard();

  ASSERT_TRUE(OpenClipboard(window));
  auto back = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(back, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(back, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 10);
  EXPECT_EQ(info.bmHeight, 7);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ prev = SelectObject(dc, back);
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 255));
  SelectObject(dc, prev);
  DeleteDC(dc);
  CloseClipboard();
  DestroyWindow(window);
}

}  // namespace
