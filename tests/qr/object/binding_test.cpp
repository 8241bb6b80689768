// The display binding with real windows and real paint messages: placement
// read back from the window, the properties, attaching twice, detaching, bad
// input, what a window shows after Generate, Release or its own destruction,
// and the GDI objects painting leaves behind.
#include "qr/object/binding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "qr/object/display_properties.h"
#include "qr/object/qr_code.h"
#include "tests/qr/object/binding_test_support.h"
#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::Capture;
using testing::CaptureDc;
using testing::GdiObjectCount;
using testing::MakeBmp;
using testing::ReadBitmap;
using testing::ReferenceSpeckle;

constexpr RgbColor kOwnPaint = 0xFF00FF;  // what the host paints itself
constexpr RgbColor kErase = 0x996633;     // the host class's background brush
constexpr RgbColor kFill = 0x00FF00;
constexpr RgbColor kPicture = 0x402010;   // a dark background picture
constexpr RgbColor kLogoColour = 0x0000FF;
constexpr RgbColor kWhite = 0xFFFFFF;
constexpr RgbColor kBlack = 0x000000;

int OwnPaints = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    ++OwnPaints;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kOwnPaint);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* HostClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = CreateSolidBrush(kErase);
    wc.lpszClassName = "VarneloBindingTestHost";
    RegisterClassA(&wc);
    return "VarneloBindingTestHost";
  }();
  return name;
}

// One top-level window for the run; each test puts its hosts into it.
HWND Frame() {
  static HWND frame = CreateWindowExA(WS_EX_TOPMOST, HostClass(), "binding test",
                                      WS_POPUP | WS_VISIBLE, 30, 30, 420, 420, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  return frame;
}

win::Window MakeHost(int width, int height) {
  return win::Window(CreateWindowExA(0, HostClass(), "", WS_CHILD | WS_VISIBLE, 0, 0, width,
                                     height, Frame(), nullptr, GetModuleHandleA(nullptr), nullptr));
}

// Erases and paints the whole client now and reads back what it shows.
Capture Render(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(window, &client);
  win::WindowDc dc(window);
  return CaptureDc(dc.get(), client.right, client.bottom);
}

template <typename Match>
std::optional<PixelBox> BoundingBox(const Capture& image, Match match) {
  int left = image.width, top = image.height, right = -1, bottom = -1;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (match(image.At(x, y))) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return std::nullopt;
  return PixelBox{left, top, right - left + 1, bottom - top + 1};
}

bool ShowsOnlyItsOwnPaint(HWND window) {
  return !BoundingBox(Render(window), [](RgbColor p) { return p != kOwnPaint; });
}

// The code image stretched into box, checked at the centre of every module.
// dark: the colour a dark module shows (the background's with one).
void ExpectCodeIn(const Capture& image, const PixelBox& box, const QrCode& code,
                  RgbColor dark = kBlack) {
  const testing::BitmapPixels modules = ReadBitmap(code.GetCodeBitmap());
  ASSERT_GT(modules.width, 0);
  int wrong = 0;
  for (int row = 0; row < modules.height; ++row)
    for (int column = 0; column < modules.width; ++column) {
      const int x = box.x + static_cast<int>((column + 0.5) * box.width / modules.width);
      const int y = box.y + static_cast<int>((row + 0.5) * box.height / modules.height);
      const RgbColor expected = modules.At(column, row) == kBlack ? dark : kWhite;
      wrong += image.At(x, y) != expected;
    }
  EXPECT_EQ(wrong, 0);
}

HANDLE Property(HWND window, int index) { return GetPropA(window, kDisplayProperties[index]); }
long long PropertyValue(HWND window, int index) {
  return reinterpret_cast<std::intptr_t>(Property(window, index));
}
// The display properties the window carries, whatever their values (0 too).
std::vector<std::string> DisplayPropertiesOf(HWND window) {
  std::vector<std::string> names;
  EnumPropsExA(
      window,
      [](HWND, LPSTR name, HANDLE, ULONG_PTR found) -> BOOL {
        // Properties named by an atom come as a number below 0x10000.
        if (reinterpret_cast<ULONG_PTR>(name) < 0x10000) return TRUE;
        for (const char* display : kDisplayProperties)
          if (std::strcmp(name, display) == 0)
            reinterpret_cast<std::vector<std::string>*>(found)->push_back(name);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&names));
  return names;
}
int PropertiesSet(HWND window) { return static_cast<int>(DisplayPropertiesOf(window).size()); }
bool HasProperty(HWND window, int index) {
  for (const std::string& name : DisplayPropertiesOf(window))
    if (name == kDisplayProperties[index]) return true;
  return false;
}
LONG_PTR Procedure(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

ByteBuffer Picture(int width, int height, RgbColor colour) {
  return MakeBmp(width, height, [colour](int, int) { return colour; });
}

QrCode CodeOfVersion(int version, GenerateOptions options = {}) {
  QrCode code;
  options.version = version;
  EXPECT_TRUE(code.Generate("VARNELO", options));
  return code;
}

TEST(AttachToWindow, PlacesTheCodeByMode) {
  struct Case {
    int width, height, mode, displaySize, version;
    PixelBox code;
  } cases[] = {
      {200, 100, 0, 0, 1, {50, 0, 100, 100}},    // fit: square of the shorter side
      {300, 300, 2, 0, 8, {124, 124, 51, 51}},   // centre, 1:1
      {400, 300, 7, 150, 1, {250, 150, 150, 150}},
      {120, 80, 1, 0, 1, {0, 0, 120, 80}},       // stretch
      {200, 100, 5, 0, 1, {177, 0, 23, 23}},
      {200, 100, 10, 46, 1, {0, 27, 46, 46}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " on " << c.width << " x "
                                      << c.height);
    const QrCode code = CodeOfVersion(c.version);
    win::Window host = MakeHost(c.width, c.height);
    QrCode painter = code;  // a clone paints the same code
    ASSERT_TRUE(painter.AttachToWindow(host.get(), c.mode,
                                       {.fillColour = kFill, .displaySize = c.displaySize}));
    const Capture image = Render(host.get());
    EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p != kFill; }), c.code);
    ExpectCodeIn(image, c.code, code);
  }
}

TEST(AttachToWindow, SetsThePictureBehindTheCode) {
  struct Case {
    const char* name;
    int width, height, mode;
    DisplayOptions options;
    PixelBox background;          // as far as it lies in the client
    std::optional<PixelBox> code;  // none: display size 0 in modes 0 and 1
  } cases[] = {
      {"top centre", 400, 300, 4, {.displaySize = 80, .background = Picture(200, 100, kPicture)},
       {100, 0, 200, 100}, PixelBox{160, 10, 80, 80}},
      {"fit, size 0", 300, 400, 0, {.background = Picture(200, 100, kPicture)},
       {0, 125, 300, 150}, std::nullopt},
      {"stretch, size 0", 300, 400, 1, {.background = Picture(200, 100, kPicture)},
       {0, 0, 300, 400}, std::nullopt},
      {"centre with offsets", 300, 300, 2,
       {.background = Picture(100, 100, kPicture), .offsetX = 10, .offsetY = -5},
       {100, 100, 100, 100}, PixelBox{148, 133, 23, 23}},
      // Only the width given: the height stays the picture's own.
      {"width only", 300, 300, 2,
       {.background = Picture(100, 100, kPicture), .backgroundWidth = 120},
       {90, 100, 120, 100}, PixelBox{138, 138, 23, 23}},
      {"bottom left, picture stretched", 300, 300, 9,
       {.background = Picture(100, 100, kPicture), .backgroundWidth = 50, .backgroundHeight = 40},
       {0, 260, 50, 40}, PixelBox{13, 268, 23, 23}},
      // Bytes that do not decode: no picture, offsets ignored.
      {"undecodable picture", 300, 300, 2,
       {.background = ByteBuffer{'B', 'M', 1, 2, 3}, .offsetX = 40},
       {138, 138, 23, 23}, PixelBox{138, 138, 23, 23}},
  };
  const QrCode code = CodeOfVersion(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QrCode painter = code;
    win::Window host = MakeHost(c.width, c.height);
    DisplayOptions options = c.options;
    options.fillColour = kFill;
    ASSERT_TRUE(painter.AttachToWindow(host.get(), c.mode, options));
    const Capture image = Render(host.get());
    EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p != kFill; }), c.background);
    // Light modules are the only white; dark ones show the picture.
    EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p == kWhite; }), c.code);
    const bool decodable = c.options.background->size() > 5;
    if (c.code) ExpectCodeIn(image, *c.code, code, decodable ? kPicture : kBlack);
  }
}

TEST(AttachToWindow, PastesTheLogo) {
  struct Case {
    const char* name;
    int width, height, mode;
    DisplayOptions options;
    PixelBox logo;
  } cases[] = {
      {"fit", 200, 100, 0, {}, {90, 45, 20, 10}},
      {"top left", 200, 100, 3, {}, {1, 6, 20, 10}},
      // Scaled with the picture (k = 1.5), also when the code is not shown.
      {"fit over a picture", 300, 400, 0, {.background = Picture(200, 100, kPicture)},
       {135, 192, 30, 15}},
  };
  const QrCode code = CodeOfVersion(1, {.logo = Picture(20, 10, kLogoColour)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QrCode painter = code;
    win::Window host = MakeHost(c.width, c.height);
    ASSERT_TRUE(painter.AttachToWindow(host.get(), c.mode, c.options));
    const Capture image = Render(host.get());
    EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p == kLogoColour; }), c.logo);
  }
}

// A code without margins, so its last module column and row hold dark
// modules, tripled onto a black picture with speckle.
TEST(AttachToWindow, SpeckleSparesTheCodeAndOutlivesGenerate) {
  QrCode code = CodeOfVersion(
      1, {.marginLeft = 0, .marginBottom = 0, .marginTop = 0, .marginRight = 0});
  ASSERT_EQ(code.GetImageWidth(), 21);
  const testing::BitmapPixels modules = ReadBitmap(code.GetCodeBitmap());
  const std::vector<std::uint8_t> noise(code.NoiseBytes().begin(), code.NoiseBytes().end());
  win::Window host = MakeHost(300, 300);
  ASSERT_TRUE(code.AttachToWindow(host.get(), 2,
                                  {.fillColour = kFill, .displaySize = 63,
                                   .background = Picture(150, 150, kBlack), .speckle = true}));
  const PixelBox background{75, 75, 150, 150};
  const PixelBox codeBox{118, 118, 63, 63};
  const std::vector<bool> lit = ReferenceSpeckle(300, 300, background, codeBox, 21, 21, noise);

  const Capture first = Render(host.get());
  int wrong = 0;
  int lightCells = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      const bool inBackground = x >= 75 && x < 225 && y >= 75 && y < 225;
      const bool inCode = x >= 118 && x < 181 && y >= 118 && y < 181;
      RgbColor expected = kFill;
      if (inCode) {
        expected = modules.At((x - 118) / 3, (y - 118) / 3);
      } else if (inBackground) {
        const bool on = lit[static_cast<std::size_t>(y) * 300 + x];
        lightCells += on;
        expected = on ? kWhite : kBlack;
      }
      wrong += first.At(x, y) != expected;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(lightCells, 0);

  // A new code replaces the object's bitmap and noise; the window goes on
  // painting what it was given, from its own copies.
  ASSERT_TRUE(code.Generate("ANOTHER TEXT ALTOGETHER", {.version = 2}));
  EXPECT_NE(Property(host.get(), 1), code.GetCodeBitmap());
  EXPECT_EQ(Render(host.get()).pixels, first.pixels);
}

TEST(AttachToWindow, DefaultsAndNoFill) {
  const QrCode code = CodeOfVersion(1);
  win::Window host = MakeHost(200, 100);
  QrCode painter = code;
  // Mode 0 and white fill when omitted.
  ASSERT_TRUE(painter.AttachToWindow(host.get()));
  Capture image = Render(host.get());
  EXPECT_EQ(image.At(0, 0), kWhite);
  EXPECT_EQ(image.At(199, 99), kWhite);
  ExpectCodeIn(image, {50, 0, 100, 100}, code);

  // -1: the client keeps what the window's erase left.
  ASSERT_TRUE(painter.AttachToWindow(host.get(), 2, {.fillColour = kNoFill}));
  image = Render(host.get());
  EXPECT_EQ(image.At(0, 0), kErase);
  EXPECT_EQ(image.At(199, 99), kErase);
  EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p != kErase; }), (PixelBox{88, 38, 23, 23}));
  ExpectCodeIn(image, {88, 38, 23, 23}, code);
}

TEST(AttachToWindow, StoresTheNineteenProperties) {
  QrCode code = CodeOfVersion(1, {.lightColour = 0xEEFFEE, .logo = Picture(20, 10, kLogoColour)});
  win::Window host = MakeHost(300, 300);
  const LONG_PTR own = Procedure(host.get());
  ASSERT_TRUE(code.AttachToWindow(host.get(), 6,
                                  {.fillColour = kNoFill, .displaySize = 40,
                                   .background = Picture(100, 80, kPicture), .backgroundWidth = 90,
                                   .backgroundHeight = 70, .offsetX = 7, .offsetY = -5,
                                   .speckle = true}));
  EXPECT_TRUE(code.IsAttached(host.get()));
  EXPECT_NE(Procedure(host.get()), own);
  const long long expected[] = {own, 0, 23, 23, 6, 0, 20, 10, 0xEEFFEE, -1, 40, 0, 90, 70, 7, -5,
                                0, static_cast<long long>(code.NoiseBytes().size()), 1};
  for (int i = 0; i < 19; ++i) {
    SCOPED_TRACE(kDisplayProperties[i]);
    if (i == 1 || i == 5 || i == 11 || i == 16) {
      EXPECT_NE(Property(host.get(), i), nullptr);
    } else {
      EXPECT_EQ(PropertyValue(host.get(), i), expected[i]);
    }
  }
  // The bitmaps are the binding's own copies, of the right sizes.
  const HANDLE codeCopy = Property(host.get(), 1);
  EXPECT_NE(codeCopy, code.GetCodeBitmap());
  const auto size = [](HANDLE bitmap) {
    BITMAP record{};
    GetObject(bitmap, sizeof record, &record);
    return std::pair{record.bmWidth, record.bmHeight};
  };
  EXPECT_EQ(size(codeCopy), (std::pair<LONG, LONG>{23, 23}));
  EXPECT_EQ(size(Property(host.get(), 5)), (std::pair<LONG, LONG>{20, 10}));
  EXPECT_EQ(size(Property(host.get(), 11)), (std::pair<LONG, LONG>{90, 70}));
  const auto* noise = static_cast<const std::uint8_t*>(Property(host.get(), 16));
  ASSERT_EQ(code.NoiseBytes().size(), 23u * 23 * 10 / 8);
  EXPECT_EQ(std::memcmp(noise, code.NoiseBytes().data(), code.NoiseBytes().size()), 0);
  EXPECT_NE(noise, code.NoiseBytes().data());
}

TEST(AttachToWindow, SecondAttachReplacesTheFirst) {
  QrCode code = CodeOfVersion(1);
  win::Window host = MakeHost(200, 100);
  const LONG_PTR own = Procedure(host.get());
  ASSERT_TRUE(code.AttachToWindow(host.get(), 4, {.background = Picture(60, 60, kPicture)}));
  EXPECT_EQ(PropertiesSet(host.get()), 19);
  ASSERT_TRUE(code.AttachToWindow(host.get(), 3, {.fillColour = kFill}));
  // The window's own procedure is kept, not the binding's; no background left.
  EXPECT_EQ(PropertyValue(host.get(), 0), own);
  EXPECT_EQ(PropertyValue(host.get(), 4), 3);
  EXPECT_EQ(PropertiesSet(host.get()), 11);
  for (int i = 11; i < 19; ++i) EXPECT_FALSE(HasProperty(host.get(), i)) << kDisplayProperties[i];
  EXPECT_EQ(BoundingBox(Render(host.get()), [](RgbColor p) { return p != kFill; }),
            (PixelBox{0, 0, 23, 23}));

  // One detach undoes it all.
  EXPECT_TRUE(code.DetachFromWindow(host.get()));
  EXPECT_FALSE(code.IsAttached(host.get()));
  EXPECT_EQ(PropertiesSet(host.get()), 0);
  EXPECT_EQ(Procedure(host.get()), own);
  const int paints = OwnPaints;
  const Capture image = Render(host.get());
  EXPECT_GT(OwnPaints, paints);
  EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p != kOwnPaint; }), std::nullopt);
  EXPECT_TRUE(code.DetachFromWindow(host.get()));  // not attached: nothing to undo
}

LRESULT CALLBACK UnicodeHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) return HostProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

// A Unicode window: the binding forwards to its procedure through the ANSI
// calls, and detaching gives the window back as it was.
TEST(AttachToWindow, UnicodeWindowGetsItsOwnProcedureBack) {
  static const wchar_t* kClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = UnicodeHostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(kErase);
    wc.lpszClassName = L"VarneloBindingTestUnicodeHost";
    RegisterClassW(&wc);
    return L"VarneloBindingTestUnicodeHost";
  }();
  win::Window host(CreateWindowExW(0, kClass, L"\x798F", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                                   Frame(), nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(host);
  const LONG_PTR own = GetWindowLongPtrW(host.get(), GWLP_WNDPROC);
  QrCode code = CodeOfVersion(1);
  ASSERT_TRUE(code.AttachToWindow(host.get(), 2, {.fillColour = kFill}));
  EXPECT_EQ(BoundingBox(Render(host.get()), [](RgbColor p) { return p != kFill; }),
            (PixelBox{38, 38, 23, 23}));
  // Other messages still reach the window's procedure, text intact.
  wchar_t title[8] = {};
  EXPECT_EQ(GetWindowTextW(host.get(), title, 8), 1);
  EXPECT_EQ(title[0], L'\x798F');

  ASSERT_TRUE(code.DetachFromWindow(host.get()));
  EXPECT_TRUE(IsWindowUnicode(host.get()));
  EXPECT_EQ(GetWindowLongPtrW(host.get(), GWLP_WNDPROC), own);
  EXPECT_TRUE(ShowsOnlyItsOwnPaint(host.get()));
}

TEST(AttachToWindow, SecondObjectTakesTheWindowOver) {
  QrCode first = CodeOfVersion(1);
  QrCode second = CodeOfVersion(2);
  win::Window host = MakeHost(200, 100);
  const LONG_PTR own = Procedure(host.get());
  ASSERT_TRUE(first.AttachToWindow(host.get(), 3, {.fillColour = kFill}));
  ASSERT_TRUE(second.AttachToWindow(host.get(), 3, {.fillColour = kFill}));
  EXPECT_EQ(PropertyValue(host.get(), 0), own);
  EXPECT_EQ(BoundingBox(Render(host.get()), [](RgbColor p) { return p != kFill; }),
            (PixelBox{0, 0, 27, 27}));
  // The first object still lists the window; detaching it returns the window
  // to its own painting, and the second's later detach finds nothing to undo.
  first.Release();
  EXPECT_EQ(Procedure(host.get()), own);
  EXPECT_EQ(PropertiesSet(host.get()), 0);
  EXPECT_TRUE(ShowsOnlyItsOwnPaint(host.get()));
  EXPECT_TRUE(second.DetachFromWindow(host.get()));
  EXPECT_FALSE(second.IsAttached(host.get()));
}

TEST(AttachToWindow, RefusesBadInputAndLeavesTheWindowAlone) {
  QrCode code = CodeOfVersion(1);
  win::Window host = MakeHost(100, 100);
  const LONG_PTR own = Procedure(host.get());
  HWND destroyed = MakeHost(10, 10).release();
  DestroyWindow(destroyed);
  struct Case {
    const char* name;
    HWND window;
    int mode;
    DisplayOptions options;
  } cases[] = {
      {"no handle", nullptr, 0, {}},
      {"destroyed window", destroyed, 0, {}},
      {"another process's window", GetDesktopWindow(), 0, {}},
      {"mode -1", host.get(), -1, {}},
      {"mode 11", host.get(), 11, {}},
      {"negative display size", host.get(), 2, {.displaySize = -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(code.AttachToWindow(c.window, c.mode, c.options));
    EXPECT_FALSE(code.IsAttached(c.window));
  }
  EXPECT_EQ(PropertiesSet(host.get()), 0);
  EXPECT_EQ(PropertiesSet(GetDesktopWindow()), 0);
  EXPECT_EQ(Procedure(host.get()), own);
  EXPECT_FALSE(code.DetachFromWindow(nullptr));
  EXPECT_FALSE(code.DetachFromWindow(destroyed));
}

TEST(AttachToWindow, WithoutACodeTheWindowPaintsItself) {
  QrCode empty;
  win::Window host = MakeHost(100, 100);
  ASSERT_TRUE(empty.AttachToWindow(host.get(), 2, {.fillColour = kFill}));
  EXPECT_EQ(Property(host.get(), 1), nullptr);
  const int paints = OwnPaints;
  const Capture image = Render(host.get());
  EXPECT_GT(OwnPaints, paints);
  EXPECT_EQ(BoundingBox(image, [](RgbColor p) { return p != kOwnPaint; }), std::nullopt);
}

TEST(AttachToWindow, ReleaseAndDestructionDetachEveryWindow) {
  win::Window one = MakeHost(120, 120);
  win::Window two = MakeHost(100, 100);
  QrCode code = CodeOfVersion(1);
  ASSERT_TRUE(code.AttachToWindow(one.get(), 2,
                                  {.background = Picture(80, 80, kPicture), .speckle = true}));
  ASSERT_TRUE(code.AttachToWindow(two.get(), 0));
  code.Release();
  for (HWND window : {one.get(), two.get()}) {
    EXPECT_FALSE(code.IsAttached(window));
    EXPECT_EQ(PropertiesSet(window), 0);
    EXPECT_TRUE(ShowsOnlyItsOwnPaint(window));
  }
  {
    QrCode scoped = CodeOfVersion(1);
    ASSERT_TRUE(scoped.AttachToWindow(one.get(), 3));
  }
  EXPECT_EQ(PropertiesSet(one.get()), 0);
  EXPECT_TRUE(ShowsOnlyItsOwnPaint(one.get()));
}

void BindAndPaint(QrCode& code, HWND window) {
  ASSERT_TRUE(code.AttachToWindow(window, 2,
                                  {.displaySize = 46, .background = Picture(90, 90, kPicture),
                                   .offsetX = 3, .speckle = true}));
  Render(window);
  ASSERT_TRUE(code.AttachToWindow(window, 0, {.fillColour = kNoFill}));
  Render(window);
  ASSERT_TRUE(
      code.AttachToWindow(window, 1, {.background = Picture(50, 40, kPicture), .speckle = true}));
  Render(window);
}

TEST(AttachToWindow, LeavesNoGdiObjectsBehind) {
  QrCode code = CodeOfVersion(1, {.logo = Picture(20, 10, kLogoColour)});
  win::Window host = MakeHost(150, 150);
  BindAndPaint(code, host.get());  // the object's own background bitmap exists from here on
  ASSERT_TRUE(code.DetachFromWindow(host.get()));
  const long before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int cycle = 0; cycle < 5; ++cycle) {
    BindAndPaint(code, host.get());
    ASSERT_TRUE(code.DetachFromWindow(host.get()));
    Render(host.get());
  }
  EXPECT_EQ(GdiObjectCount(), before);

  // A window destroyed while bound takes its copies with it.
  win::Window doomed = MakeHost(80, 80);
  BindAndPaint(code, doomed.get());
  ASSERT_TRUE(code.IsAttached(doomed.get()));
  const HWND handle = doomed.get();
  doomed.reset();
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_FALSE(code.DetachFromWindow(handle));
  EXPECT_FALSE(code.IsAttached(handle));
}

}  // namespace
}  // namespace varnelo::qr
