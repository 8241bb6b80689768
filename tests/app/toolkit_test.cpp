// The form toolkit with real windows: form events, picture box, label.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/card_picture.h"
#include "app/form_window.h"
#include "app/gdiplus_support.h"
#include "app/label.h"
#include "app/picture_box.h"
#include "app/picture_fit.h"
#include "tests/app/test_support.h"

namespace varnelo::app {
namespace {

using testing::IsReddish;
using testing::MakeBmp;
using testing::PumpMessages;

TEST(FitPicture, CentresPicturesThatFitAndScalesDownLargerOnesKeepingTheirShape) {
  struct Case {
    int width, height, boxWidth, boxHeight;
    PictureRect expected;
  };
  const Case cases[] = {
      {306, 290, 288, 288, {0, 7, 288, 273}},  // the card: wider than the box
      {288, 288, 288, 288, {0, 0, 288, 288}},  // a code: exactly the box
      {51, 51, 288, 288, {118, 118, 51, 51}},  // smaller: own size, centred
      {1000, 10, 288, 288, {0, 142, 288, 3}},
      {10, 1000, 288, 288, {142, 0, 3, 288}},
      {600, 300, 288, 288, {0, 72, 288, 144}},
      {5000, 1, 288, 288, {0, 143, 288, 1}},   // never thinner than a pixel
      {0, 10, 288, 288, {}},
      {10, 10, 0, 288, {}},
      {-5, -5, 288, 288, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(FitPicture(c.width, c.height, c.boxWidth, c.boxHeight), c.expected);
  }
}

TEST(ReadableBmpHeader, CallsOnlyTheQrObjectsFortyFourByteHeaderFortyBytes) {
  auto white = [](int, int) -> std::uint32_t { return 0xFFFFFF; };
  auto headerSize = [](const std::vector<std::uint8_t>& bmp) {
    std::uint32_t size;
    std::memcpy(&size, &bmp[14], 4);
    return size;
  };
  const std::vector<std::uint8_t> odd = MakeBmp(3, 2, white, 44);
  const std::vector<std::uint8_t> fixed = ReadableBmpHeader(odd);
  ASSERT_EQ(fixed.size(), odd.size());
  EXPECT_EQ(headerSize(fixed), 40u);
  EXPECT_TRUE(std::equal(fixed.begin() + 18, fixed.end(), odd.begin() + 18)) << "only the size field changes";

  std::vector<std::uint8_t> paletted = odd;
  paletted[28] = 8;  // a colour table would move: left alone
  std::vector<std::uint8_t> compressed = odd;
  compressed[30] = BI_BITFIELDS;
  std::vector<std::uint8_t> offsetInsideHeader = odd;
  offsetInsideHeader[10] = 50;
  const std::vector<std::vector<std::uint8_t>> unchanged = {
      MakeBmp(3, 2, white, 40), MakeBmp(3, 2, white, 108), paletted, compressed, offsetInsideHeader,
      std::vector<std::uint8_t>(odd.begin(), odd.begin() + 40),  // cut short
      std::vector<std::uint8_t>(CardPicture().begin(), CardPicture().end()), {}};
  for (const auto& bytes : unchanged) EXPECT_EQ(ReadableBmpHeader(bytes), bytes);
}

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormWindowEvents events;
    events.created = [this] { ++created_; };
    ASSERT_TRUE(form_.Create(L"toolkit test", 10, 10, 500, 420, nullptr, std::move(events)));
  }

  FormWindow form_;
  int created_ = 0;
};

TEST_F(ToolkitTest, FormFiresCreatedOnceAndDestroyingWhileChildrenExist) {
  EXPECT_EQ(created_, 1);
  EXPECT_FALSE(form_.Create(L"again", 0, 0, 100, 100, nullptr, {})) << "a second Create must fail";

  FormWindow form;
  HWND handleSeenInCreated = nullptr;
  HWND child = nullptr;
  int destroying = 0;
  bool childAliveWhileDestroying = false;
  FormWindowEvents events;
  events.created = [&] {
    handleSeenInCreated = form.Handle();
    child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr, nullptr, nullptr);
  };
  events.destroying = [&] {
    ++destroying;
    childAliveWhileDestroying = IsWindow(child) != FALSE;
  };
  ASSERT_TRUE(form.Create(L"events", 0, 0, 200, 200, nullptr, std::move(events)));
  HWND window = form.Handle();
  EXPECT_EQ(handleSeenInCreated, window);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 200);
  EXPECT_EQ(outer.bottom - outer.top, 200);

  DestroyWindow(window);
  EXPECT_EQ(destroying, 1);
  EXPECT_TRUE(childAliveWhileDestroying);
  EXPECT_EQ(form.Handle(), nullptr);
  form.Destroy();  // nothing left to destroy: no second event
  EXPECT_EQ(destroying, 1);
}

TEST_F(ToolkitTest, PictureBoxFitsTheCardWithoutCroppingIt) {
  PictureBox box;
  ASSERT_TRUE(box.Create(form_.Handle(), 144, 8, 288, 288));
  const std::uint32_t background = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(box.PixelAt(144, 144), background) << "nothing shown before a picture is set";

  ASSERT_TRUE(box.SetPicture(CardPicture()));
  EXPECT_EQ(box.PictureArea(), (PictureRect{0, 7, 288, 273}));
  EXPECT_EQ(box.Picture(), std::vector<std::uint8_t>(CardPicture().begin(), CardPicture().end()));
  // Bands above and below the scaled card show the window background.
  for (int x : {0, 100, 287}) {
    EXPECT_EQ(box.PixelAt(x, 3), background);
    EXPECT_EQ(box.PixelAt(x, 284), background);
  }
  // The card's corners all lie inside the box: left, right, top and bottom
  // points of the diamond are red, the picture's corners are not.
  EXPECT_TRUE(IsReddish(box.PixelAt(15, 143)));
  EXPECT_TRUE(IsReddish(box.PixelAt(272, 143)));
  EXPECT_TRUE(IsReddish(box.PixelAt(144, 16)));
  EXPECT_TRUE(IsReddish(box.PixelAt(144, 270)));
  EXPECT_FALSE(IsReddish(box.PixelAt(3, 10)));
  EXPECT_FALSE(IsReddish(box.PixelAt(284, 277)));
}

TEST_F(ToolkitTest, PictureBoxShowsABoxSizedBmpPixelForPixel) {
  PictureBox box;
  ASSERT_TRUE(box.Create(form_.Handle(), 144, 8, 288, 288));
  // One-pixel stripes: any smoothing would turn them grey. The QR object's
  // BMP files have a 44-byte information header; take both forms.
  auto stripes = [](int x, int y) -> std::uint32_t { return (x + y / 7) % 2 ? 0x000000 : 0xFFFFFF; };
  for (std::uint32_t headerSize : {40u, 44u}) {
    SCOPED_TRACE(headerSize);
    ASSERT_TRUE(box.SetPicture(MakeBmp(288, 288, stripes, headerSize)));
    EXPECT_EQ(box.PictureArea(), (PictureRect{0, 0, 288, 288}));
    int wrong = 0;
    for (int y = 0; y < 288; ++y) {
      for (int x = 0; x < 288; ++x) wrong += box.PixelAt(x, y) != stripes(x, y);
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(ToolkitTest, PictureBoxKeepsBytesItCannotShowAndShowsNothing) {
  PictureBox box;
  ASSERT_TRUE(box.Create(form_.Handle(), 0, 0, 64, 64));
  ASSERT_TRUE(box.SetPicture(CardPicture()));
  const std::vector<std::uint8_t> junk = {'B', 'M', 1, 2, 3};
  EXPECT_FALSE(box.SetPicture(junk));
  EXPECT_EQ(box.Picture(), junk);
  EXPECT_EQ(box.PictureArea(), PictureRect{});
  EXPECT_EQ(box.PixelAt(32, 32), GetSysColor(COLOR_WINDOW)) << "the previous picture must be gone";
  // A PNG cut short is no picture either.
  const auto card = CardPicture();
  EXPECT_FALSE(box.SetPicture(card.first(card.size() / 3)));
  EXPECT_FALSE(box.SetPicture({}));
  EXPECT_TRUE(box.Picture().empty());
  EXPECT_EQ(box.PixelAt(-1, 0), 0u);
  EXPECT_EQ(box.PixelAt(0, 64), 0u);
}

TEST_F(ToolkitTest, PictureBoxKeepsItsTagAndReportsEveryLeftButtonPress) {
  PictureBox box;
  EXPECT_FALSE(box.Create(nullptr, 0, 0, 10, 10));
  EXPECT_FALSE(box.Create(form_.Handle(), 0, 0, 0, 10));
  ASSERT_TRUE(box.Create(form_.Handle(), 144, 8, 288, 288));
  EXPECT_FALSE(box.Create(form_.Handle(), 144, 8, 288, 288));
  EXPECT_EQ(box.Tag(), "");
  box.SetTag("\xbf\xaa\xc6\xc1");
  EXPECT_EQ(box.Tag(), "\xbf\xaa\xc6\xc1");

  int presses = 0;
  box.SetLeftButtonDownHandler([&] { ++presses; });
  SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(box.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageW(box.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(presses, 1);
  SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
  EXPECT_EQ(presses, 2);
  PumpMessages();
}

TEST_F(ToolkitTest, LabelUsesTheGivenPlaceFontAndColour) {
  Label label;
  const std::wstring text = L"选择对应项，然后会生成二维码";
  ASSERT_TRUE(label.Create(form_.Handle(), 16, 320, 416, 40, text, LabelFont{L"微软雅黑", 14, FW_NORMAL, GB2312_CHARSET},
                           0x0000FF));
  EXPECT_FALSE(label.Create(form_.Handle(), 16, 320, 416, 40, text, LabelFont{L"x", 14}, 0));
  RECT rect;
  GetWindowRect(label.Handle(), &rect);
  MapWindowPoints(nullptr, form_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 16);
  EXPECT_EQ(rect.top, 320);
  EXPECT_EQ(rect.right - rect.left, 416);
  EXPECT_EQ(rect.bottom - rect.top, 40);
  LOGFONTW font{};
  ASSERT_EQ(GetObjectW(label.Font(), sizeof font, &font), static_cast<int>(sizeof font));
  EXPECT_EQ(font.lfHeight, -14);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"微软雅黑");
  EXPECT_EQ(label.Text(), text);

  // What the label paints: red text on the window background.
  UpdateWindow(label.Handle());
  HDC screen = GetDC(label.Handle());
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 416, 40);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(label.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  int red = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 416; ++x) red += IsReddish(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(label.Handle(), screen);
  EXPECT_GT(red, 40) << "no red text painted";

  Label bad;
  EXPECT_FALSE(bad.Create(form_.Handle(), 0, 0, 10, 10, L"x", LabelFont{L"x", 0}, 0));
  EXPECT_FALSE(bad.Create(nullptr, 0, 0, 10, 10, L"x", LabelFont{L"x", 14}, 0));
}

}  // namespace
}  // namespace varnelo::app
