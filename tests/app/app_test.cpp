// The application with real windows and real messages: start-up, selection,
// the share image on the clipboard, and the end of the window.
#include "app/app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/card_picture.h"
#include "app/catalogue.h"
#include "app/texts.h"
#include "tests/app/test_support.h"
#include "tests/support/win_bitmaps.h"

namespace varnelo::app {
namespace {

using testing::IsReddish;
using testing::PumpMessages;

// A 32-bit top-down copy of a bitmap, pixels as 0x00BBGGRR.
using Pixels = varnelo::testing::BitmapPixels;
using varnelo::testing::ReadBitmap;

// What the clipboard holds as CF_BITMAP (empty when nothing).
Pixels ClipboardBitmap() {
  Pixels pixels;
  if (!OpenClipboard(nullptr)) return pixels;
  if (HANDLE data = GetClipboardData(CF_BITMAP)) pixels = ReadBitmap(static_cast<HBITMAP>(data));
  CloseClipboard();
  return pixels;
}

void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

std::wstring FromGbk(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

// The caption band of a share image: its red pixels and the rightmost one.
struct Caption {
  int redPixels = 0;
  int rightmost = -1;
  int strayPixels = 0;  // neither white nor a shade of the red caption
};

Caption ReadCaption(const Pixels& share) {
  Caption caption;
  for (int y = 0; y < App::kCaptionBand; ++y) {
    for (int x = 0; x < share.width; ++x) {
      const std::uint32_t c = share.At(x, y);
      if (IsReddish(c)) {
        ++caption.redPixels;
        caption.rightmost = std::max(caption.rightmost, x);
      }
      // Anti-aliased red on white keeps red at full strength.
      if (testing::Red(c) < 200 || std::abs(testing::Green(c) - testing::Blue(c)) > 40) ++caption.strayPixels;
    }
  }
  return caption;
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app_.CreateMainWindow());
    list_ = app_.SourceList().GetWindowHandle();
    ASSERT_NE(list_, nullptr);
  }

  // A press and release in the middle of item, as the mouse sends them.
  void ClickItem(int item) {
    SendMessageW(list_, LB_SETTOPINDEX, std::max(0, item - 5), 0);
    RECT rect{};
    SendMessageW(list_, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(list_, WM_MOUSEMOVE, 0, point);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list_, WM_LBUTTONUP, 0, point);
    PumpMessages();
  }

  void ClickPicture() {
    SendMessageW(app_.Picture().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(app_.Picture().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    PumpMessages();
  }

  // The picture the app should show for address n: the code made by a QR
  // object of its own.
  static std::vector<std::uint8_t> ExpectedCode(const std::string& address) {
    qr::QrCode code;
    qr::GenerateOptions options;
    options.version = 8;
    options.level = 1;
    EXPECT_TRUE(code.Generate(address, options));
    qr::ImageComposition composition;
    composition.size = 288;
    return code.EncodeToImageBytes(composition, 0);
  }

  std::vector<std::uint8_t> Card() const { return {CardPicture().begin(), CardPicture().end()}; }

  App app_;
  HWND list_ = nullptr;
};

TEST_F(AppTest, StartsWithTheFullListTheCardAndItemZeroSelected) {
  EXPECT_EQ(FromGbk(kPinnedEntry), L"【必得沾副卡】");
  EXPECT_EQ(FromGbk(kCaptionPrefix), L"【Oskirra】扫福辅助生成：");
  wchar_t title[64] = {};
  GetWindowTextW(app_.MainWindow(), title, 64);
  EXPECT_STREQ(title, L"Varnelo by:Oskirra");

  const std::vector<CatalogueEntry> catalogue = ParseCatalogue(SourceCatalogue());
  ASSERT_EQ(catalogue.size(), 52u);
  ui::ListBoxControl& list = app_.SourceList();
  ASSERT_EQ(list.GetCount(), 53);
  EXPECT_EQ(list.GetItemText(0), kPinnedEntry);
  ASSERT_EQ(app_.SourceAddresses().size(), 52u);
  for (int n = 1; n <= 52; ++n) {
    EXPECT_EQ(list.GetItemText(n), catalogue[n - 1].name) << n;
    EXPECT_EQ(app_.SourceAddresses()[n - 1], catalogue[n - 1].address) << n;
  }
  EXPECT_EQ(list.GetSelectedItem(), 0);
  EXPECT_EQ(list.SetItemHeight(), App::kItemHeight);
  RECT listRect;
  GetWindowRect(list_, &listRect);
  EXPECT_EQ(listRect.right - listRect.left, 140);
  EXPECT_EQ(listRect.bottom - listRect.top, 300);

  EXPECT_EQ(app_.Picture().Picture(), Card());
  EXPECT_EQ(app_.Picture().Tag(), "");
  EXPECT_TRUE(app_.GdiplusStarted());
}

TEST_F(AppTest, ItemNShowsTheCodeOfAddressN) {
  ClickItem(22);
  EXPECT_EQ(app_.SourceList().GetSelectedItem(), 22);
  const std::string& address = app_.SourceAddresses()[21];
  EXPECT_TRUE(address.ends_with("?source=CHUNCHENG_WANBAO")) << address;
  EXPECT_EQ(app_.Picture().Picture(), ExpectedCode(address));
  EXPECT_NE(app_.Picture().Picture(), ExpectedCode(app_.SourceAddresses()[22])) << "item 22 must not show address 23";
  EXPECT_EQ(FromGbk(app_.Picture().Tag()), L"开屏新闻");

  // 288 × 288, and along the timing pattern (module row 6, plus the margin)
  // every module is 5 or 6 pixels wide.
  EXPECT_EQ(app_.Picture().PictureArea(), (PictureRect{0, 0, 288, 288}));
  const int y = 7 * 288 / 51 + 2;
  std::vector<int> runs;
  int run = 1;
  for (int x = 9 * 288 / 51 + 1; x < 41 * 288 / 51; ++x) {
    if (app_.Picture().PixelAt(x, y) == app_.Picture().PixelAt(x - 1, y)) {
      ++run;
    } else {
      runs.push_back(run);
      run = 1;
    }
  }
  ASSERT_GT(runs.size(), 20u);
  for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_TRUE(runs[i] == 5 || runs[i] == 6) << runs[i];

  for (int n : {1, 2, 51, 52}) {
    ClickItem(n);
    EXPECT_EQ(app_.Picture().Picture(), ExpectedCode(app_.SourceAddresses()[n - 1])) << n;
    EXPECT_EQ(app_.Picture().Tag(), app_.SourceList().GetItemText(n));
  }
}

TEST_F(AppTest, BackToTheCardKeepsTheTagAndBadIndicesChangeNothing) {
  ClickItem(22);
  const std::string tag = app_.Picture().Tag();
  ClickItem(0);
  EXPECT_EQ(app_.Picture().Picture(), Card());
  EXPECT_EQ(app_.Picture().Tag(), tag);

  for (int index : {-1, 53, 1000}) {
    app_.ShowEntry(index);
    EXPECT_EQ(app_.Picture().Picture(), Card()) << index;
    EXPECT_EQ(app_.Picture().Tag(), tag) << index;
  }
  // A press on one item and release on another selects nothing.
  RECT a{}, b{};
  SendMessageW(list_, LB_SETTOPINDEX, 0, 0);
  SendMessageW(list_, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&a));
  SendMessageW(list_, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&b));
  SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, (a.top + a.bottom) / 2));
  SendMessageW(list_, WM_LBUTTONUP, 0, MAKELPARAM(20, (b.top + b.bottom) / 2));
  EXPECT_EQ(app_.Picture().Picture(), Card());
  EXPECT_EQ(app_.SourceList().GetSelectedItem(), 0);
}

TEST_F(AppTest, AClickPutsTheShareImageOnTheClipboardAndTheNextReplacesIt) {
  ClickItem(22);
  EmptyTheClipboard();
  const DWORD before = GetClipboardSequenceNumber();
  ClickPicture();
  const Pixels first = ClipboardBitmap();
  ASSERT_EQ(first.width, 288);
  ASSERT_EQ(first.height, 312);
  EXPECT_NE(GetClipboardSequenceNumber(), before);

  // The white band with the red caption.
  const Caption caption = ReadCaption(first);
  EXPECT_GT(caption.redPixels, 100);
  EXPECT_EQ(caption.strayPixels, 0);
  // Below it the code, pixel for pixel as the box shows it.
  int different = 0;
  for (int y = 0; y < 288; ++y) {
    for (int x = 0; x < 288; ++x) different += first.At(x, y + 24) != app_.Picture().PixelAt(x, y);
  }
  EXPECT_EQ(different, 0);

  const DWORD afterFirst = GetClipboardSequenceNumber();
  ClickPicture();
  EXPECT_NE(GetClipboardSequenceNumber(), afterFirst);
  const Pixels second = ClipboardBitmap();
  ASSERT_EQ(second.width, 288);
  ASSERT_EQ(second.height, 312);
  EXPECT_TRUE(second.pixels == first.pixels) << "two clicks must give the same image";

  // Each copy is one CF_BITMAP (formats the platform derives from it aside).
  ASSERT_TRUE(OpenClipboard(nullptr));
  int bitmaps = 0;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    bitmaps += format == CF_BITMAP;
  }
  CloseClipboard();
  EXPECT_EQ(bitmaps, 1);
}

TEST_F(AppTest, TheCaptionNamesTheLastSourceShownEvenUnderTheCard) {
  // At start-up: the prefix alone, over the whole card squeezed to 288 × 288.
  ClickPicture();
  const Pixels start = ClipboardBitmap();
  ASSERT_EQ(start.height, 312);
  const Caption prefixOnly = ReadCaption(start);
  EXPECT_GT(prefixOnly.redPixels, 50);
  // The card's left and right points (x 6 and 300 of 306, y 145 of 290).
  EXPECT_TRUE(IsReddish(start.At(6 * 288 / 306 + 4, 24 + 145 * 288 / 290)));
  EXPECT_TRUE(IsReddish(start.At(300 * 288 / 306 - 4, 24 + 145 * 288 / 290)));
  EXPECT_FALSE(IsReddish(start.At(2, 26)));

  ClickItem(22);
  ClickPicture();
  const Pixels named = ClipboardBitmap();
  ASSERT_EQ(named.height, 312);
  EXPECT_GT(ReadCaption(named).rightmost, prefixOnly.rightmost + 20) << "the name follows the prefix";

  ClickItem(0);
  ClickPicture();
  const Pixels card = ClipboardBitmap();
  ASSERT_EQ(card.height, 312);
  EXPECT_TRUE(std::equal(card.pixels.begin(), card.pixels.begin() + 288 * 24, named.pixels.begin()))
      << "the caption band must still name item 22";
  EXPECT_TRUE(std::equal(card.pixels.begin() + 288 * 24, card.pixels.end(), start.pixels.begin() + 288 * 24))
      << "the card must be back below it";
}

TEST_F(AppTest, APictureThatCannotBeLoadedLeavesTheShareImageWhiteBelowTheCaption) {
  app_.Picture().SetPicture(std::vector<std::uint8_t>{'B', 'M', 0, 0});
  ClickPicture();
  const Pixels share = ClipboardBitmap();
  ASSERT_EQ(share.width, 288);
  ASSERT_EQ(share.height, 312);
  EXPECT_GT(ReadCaption(share).redPixels, 50);
  int notWhite = 0;
  for (int y = 24; y < 312; ++y) {
    for (int x = 0; x < 288; ++x) notWhite += share.At(x, y) != 0xFFFFFF;
  }
  EXPECT_EQ(notWhite, 0);
}

TEST_F(AppTest, DestroyingTheWindowReleasesTheDrawingObjectsAndGdiplus) {
  ASSERT_NE(app_.ShareBitmap().GetNativeHandle(), nullptr);
  DestroyWindow(app_.MainWindow());
  PumpMessages();
  EXPECT_EQ(app_.ShareBitmap().GetNativeHandle(), nullptr);
  EXPECT_FALSE(app_.GdiplusStarted());
  EXPECT_EQ(app_.MainWindow(), nullptr);
  // Nothing is drawn any more, and nothing breaks.
  app_.OnPictureLeftButtonDown();
  app_.ShowEntry(3);
}

}  // namespace
}  // namespace varnelo::app
