// ListBoxControl with real windows and real messages: subclassing and its
// undoing, click selection, hot tracking and the update regions it leaves,
// keyboard independence, the painted look read back from the window, and the
// GDI objects painting leaves behind.
#include "ui/listbox/list_box_control.h"

#include <windows.h>
#include <windowsx.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using varnelo::ui::ListBoxControl;

namespace {

constexpr int kItemHeight = 22;
constexpr int kListWidth = 140;
constexpr int kListHeight = 300;
constexpr DWORD kHasStrings = LBS_HASSTRINGS;  // the application's extra style
// "【必得沾副卡】" in GBK.
const std::string kPinned = "\xA1\xBE\xB1\xD8\xB5\xC3\xD5\xB4\xB8\xB1\xBF\xA8\xA1\xBF";

// Pixels as 0x00RRGGBB.
constexpr std::uint32_t kRedPixel = 0xFF0000;
constexpr std::uint32_t kWhitePixel = 0xFFFFFF;

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps messages until done() holds or about five seconds passed.
template <typename Done>
bool PumpUntil(Done done) {
  for (int i = 0; i < 250 && !done(); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return done();
}

int ParentDrawItemsSeen = 0;  // WM_DRAWITEM that reached the parent's own procedure

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) ++ParentDrawItemsSeen;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* ParentClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "VarneloListTestParent";
    RegisterClassA(&wc);
    return "VarneloListTestParent";
  }();
  return name;
}

// One top-level window for the whole run; each test puts its own parent
// window into it (making and destroying top-level windows is slow under Wine).
// Topmost and away from the corner where other programs' windows open, so
// real mouse input lands on it.
constexpr POINT kFramePosition{760, 540};

HWND Frame() {
  static HWND frame = CreateWindowExA(WS_EX_TOPMOST, ParentClass(), "list test",
                                      WS_POPUP | WS_VISIBLE, kFramePosition.x, kFramePosition.y,
                                      340, 420, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr);
  return frame;
}

HWND MakeParent() {
  return CreateWindowExA(0, ParentClass(), "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 400, Frame(),
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

RECT ItemRect(HWND list, int item) {
  RECT rect{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// A client point inside item (dx, dy from its top-left corner).
LPARAM PointIn(HWND list, int item, int dx = 20, int dy = 7) {
  const RECT rect = ItemRect(list, item);
  return MAKELPARAM(rect.left + dx, rect.top + dy);
}

// A point in the empty area below the items.
LPARAM BlankPoint() { return MAKELPARAM(20, kListHeight - 10); }

void Press(HWND list, LPARAM point) { SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point); }
void Release(HWND list, LPARAM point) { SendMessageA(list, WM_LBUTTONUP, 0, point); }
void Move(HWND list, LPARAM point) { SendMessageA(list, WM_MOUSEMOVE, 0, point); }

// Paints what is pending and then marks the whole list valid.
void PaintAndValidate(HWND list) {
  UpdateWindow(list);
  ValidateRect(list, nullptr);
}

class Region {
 public:
  Region() : region_(CreateRectRgn(0, 0, 0, 0)) {}
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;
  ~Region() { DeleteObject(region_); }
  HRGN get() const { return region_; }
  void Add(const RECT& rect) {
    HRGN part = CreateRectRgnIndirect(&rect);
    CombineRgn(region_, region_, part, RGN_OR);
    DeleteObject(part);
  }
  bool Equals(const Region& other) const { return EqualRgn(region_, other.region_) != FALSE; }

 private:
  HRGN region_;
};

// The list's update region equals the union of the given items' rectangles.
::testing::AssertionResult UpdateRegionIsItems(HWND list, std::vector<int> items) {
  Region actual;
  GetUpdateRgn(list, actual.get(), FALSE);
  Region expected;
  for (int item : items) expected.Add(ItemRect(list, item));
  if (actual.Equals(expected)) return ::testing::AssertionSuccess();
  RECT box{};
  GetRgnBox(actual.get(), &box);
  return ::testing::AssertionFailure() << "update region box is (" << box.left << "," << box.top
                                       << ")-(" << box.right << "," << box.bottom << ")";
}

// The client area of a window as 0x00RRGGBB pixels, read from its DC.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Capture CaptureClient(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  Capture capture;
  capture.width = client.right;
  capture.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(hwnd);
  HDC memory = CreateCompatibleDC(windowDc);
  HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const std::uint32_t*>(bits);
  capture.pixels.assign(data, data + static_cast<std::size_t>(capture.width) * capture.height);
  for (auto& pixel : capture.pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(hwnd, windowDc);
  return capture;
}

// Counts of the pixels of one item row band, columns [x0, x1).
struct BandCounts {
  int red = 0;
  int white = 0;
  int other = 0;
};

BandCounts CountBand(const Capture& capture, int top, int bottom, int x0, int x1) {
  BandCounts counts;
  for (int y = top; y < bottom; ++y) {
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t pixel = capture.At(x, y);
      if (pixel == kRedPixel) {
        ++counts.red;
      } else if (pixel == kWhitePixel) {
        ++counts.white;
      } else {
        ++counts.other;
      }
    }
  }
  return counts;
}

// The process's GDI objects. Wine answers GetGuiResources with 0; there the
// objects are counted in the GDI handle table the PEB points to (24-byte
// entries, a non-zero type byte at offset 14 for a live object).
DWORD GdiObjects() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                sizeof(basic), nullptr) != 0) {
    return 0;
  }
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
  if (!table) return 0;
  DWORD live = 0;
  for (std::size_t entry = 0; entry < 0x10000; ++entry) {
    if (table[entry * 24 + 14] != 0) ++live;
  }
  return live;
}

struct HandlerCall {
  HWND list;
  int index;
};

class ListBoxControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ParentDrawItemsSeen = 0;
    parent = MakeParent();
    ASSERT_NE(parent, nullptr);
    parentProc = GetWindowLongPtrA(parent, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
    Pump();
  }

  // Sets the control up the way the application does: 140 x 300 at the
  // parent's origin, LBS_HASSTRINGS, 22-pixel items, item 0 selected before
  // the first paint.
  void CreateAsApplication(ListBoxControl& control, int items = 8) {
    ASSERT_TRUE(control.Create(parent, 0, 0, kListWidth, kListHeight, std::nullopt, kHasStrings));
    control.SetItemHeight(kItemHeight);
    control.AddItem(kPinned);
    for (int i = 1; i < items; ++i) control.AddItem("Source " + std::to_string(i));
    control.SetSelectionHandler([this](HWND list, int index) { calls.push_back({list, index}); });
    control.SetSelected(0);
    list = control.GetWindowHandle();
    ASSERT_NE(list, nullptr);
  }

  HWND parent = nullptr;
  HWND list = nullptr;
  LONG_PTR parentProc = 0;
  std::vector<HandlerCall> calls;
};

// --- creation, subclassing and its undoing ---------------------------------

TEST_F(ListBoxControlTest, CreateSubclassesListAndParentThroughProperties) {
  ListBoxControl control;
  CreateAsApplication(control);

  EXPECT_EQ(GetParent(list), parent);
  EXPECT_EQ(control.GetCount(), 8);
  const LONG_PTR classProc = GetClassLongPtrA(list, GCLP_WNDPROC);
  const auto shared = reinterpret_cast<LONG_PTR>(&ListBoxControl::SharedWindowProc);
  EXPECT_EQ(GetWindowLongPtrA(list, GWLP_WNDPROC), shared);
  EXPECT_EQ(GetWindowLongPtrA(parent, GWLP_WNDPROC), shared);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(parent, "_Proc")), parentProc);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(list, "_Proc")), classProc);
  EXPECT_EQ(GetPropA(list, "_This"), static_cast<HANDLE>(control.Self()));
  EXPECT_EQ(GetPropA(parent, "_This"), static_cast<HANDLE>(control.Self()));
  EXPECT_NE(GetPropA(list, "_Method"), nullptr);
  EXPECT_NE(GetPropA(parent, "_Method"), nullptr);
  EXPECT_NE(GetPropA(list, "_Method"), GetPropA(parent, "_Method"));

  // Painting goes through the control: the parent's own procedure never
  // sees a WM_DRAWITEM of this list.
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(ParentDrawItemsSeen, 0);

  // A second Create keeps the first list box.
  EXPECT_TRUE(control.Create(parent, 10, 10, 50, 50));
  EXPECT_EQ(control.GetWindowHandle(), list);
  EXPECT_EQ(GetWindow(list, GW_HWNDNEXT), nullptr);
}

TEST(ListBoxControlCreate, RefusesAParentThatIsNotAWindow) {
  HWND gone = MakeParent();
  DestroyWindow(gone);
  const HWND cases[] = {nullptr, gone, reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7FF0))};
  for (HWND parent : cases) {
    ListBoxControl control;
    EXPECT_FALSE(control.Create(parent, 0, 0, 100, 100)) << parent;
    EXPECT_EQ(control.GetWindowHandle(), nullptr);
  }
}

TEST_F(ListBoxControlTest, BorderKindAndExtraStyleChooseTheStyles) {
  struct Case {
    std::optional<int> border;
    std::optional<DWORD> extra;
    bool clientEdge;
    bool thinBorder;
    bool hasStrings;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, false, false, false},
      {1, std::nullopt, true, false, false},
      {2, kHasStrings, false, true, true},
      {7, kHasStrings, false, false, true},
  };
  for (const Case& c : cases) {
    HWND host = MakeParent();
    ListBoxControl control;
    ASSERT_TRUE(control.Create(host, 0, 0, 100, 100, c.border, c.extra));
    HWND made = control.GetWindowHandle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(made, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(made, GWL_EXSTYLE));
    // WS_VSCROLL is left to the list box, which drops it while all items fit.
    const DWORD base =
        WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    EXPECT_EQ(style & base, base);
    EXPECT_EQ((exStyle & WS_EX_CLIENTEDGE) != 0, c.clientEdge) << c.border.value_or(0);
    EXPECT_EQ((style & WS_BORDER) != 0, c.thinBorder) << c.border.value_or(0);
    EXPECT_EQ((style & LBS_HASSTRINGS) != 0, c.hasStrings);
    control.Release();
    DestroyWindow(host);
  }
}

TEST_F(ListBoxControlTest, ReleaseRestoresBothWindowsAndNoMessageReachesTheObject) {
  ListBoxControl control;
  CreateAsApplication(control);
  const LONG_PTR listProc = reinterpret_cast<LONG_PTR>(GetPropA(list, "_Proc"));
  PaintAndValidate(list);

  control.Release();

  EXPECT_EQ(GetWindowLongPtrA(parent, GWLP_WNDPROC), parentProc);
  EXPECT_EQ(GetWindowLongPtrA(list, GWLP_WNDPROC), listProc);
  for (HWND hwnd : {list, parent}) {
    for (const char* name : {"_Proc", "_This", "_Method"}) {
      EXPECT_EQ(GetPropA(hwnd, name), nullptr) << name;
    }
  }
  // The list box is still there; clicks and moves no longer reach the object.
  ASSERT_TRUE(IsWindow(list));
  Press(list, PointIn(list, 3));
  Release(list, PointIn(list, 3));
  Move(list, PointIn(list, 4));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(control.GetSelectedItem(), 0);
  EXPECT_EQ(control.GetHotItem(), -1);
  // Painting now reaches the parent's own procedure.
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(ParentDrawItemsSeen, 0);
  // Releasing twice is harmless.
  control.Release();
}

LRESULT CALLBACK WideParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(ListBoxControlTest, UnicodeParentIsSubclassedAndGivenBack) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WideParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VarneloListTestWideParent";
  RegisterClassW(&wc);
  HWND wide = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 320, 400,
                              Frame(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(wide, nullptr);
  ASSERT_TRUE(IsWindowUnicode(wide));

  ListBoxControl control;
  ASSERT_TRUE(control.Create(wide, 0, 0, kListWidth, kListHeight, std::nullopt, kHasStrings));
  control.SetItemHeight(kItemHeight);
  control.AddItem(kPinned);
  control.AddItem("Source 1");
  control.SetSelectionHandler([this](HWND hwnd, int index) { calls.push_back({hwnd, index}); });
  HWND made = control.GetWindowHandle();
  UpdateWindow(made);
  const Capture shot = CaptureClient(made);
  EXPECT_EQ(shot.At(2, kItemHeight + 2), kWhitePixel);
  EXPECT_GT(CountBand(shot, kItemHeight, 2 * kItemHeight, 6, shot.width).red, 10)
      << "the item is painted by the control";
  Press(made, PointIn(made, 1));
  Release(made, PointIn(made, 1));
  EXPECT_EQ(calls.size(), 1u);

  control.Release();
  EXPECT_EQ(GetWindowLongPtrW(wide, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WideParentProc));
  EXPECT_TRUE(IsWindowUnicode(wide));
  DestroyWindow(wide);
}

TEST_F(ListBoxControlTest, DestroyedControlLeavesWorkingWindows) {
  {
    ListBoxControl control;
    CreateAsApplication(control);
  }
  ASSERT_TRUE(IsWindow(list));
  EXPECT_EQ(GetWindowLongPtrA(parent, GWLP_WNDPROC), parentProc);
  EXPECT_EQ(GetPropA(list, "_This"), nullptr);
  Press(list, PointIn(list, 2));
  Release(list, PointIn(list, 2));
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  EXPECT_TRUE(calls.empty());
}

TEST_F(ListBoxControlTest, WindowsDestroyedBeforeTheControl) {
  ListBoxControl control;
  CreateAsApplication(control);
  DestroyWindow(parent);
  EXPECT_EQ(control.GetWindowHandle(), nullptr);
  control.Release();

  // The object can make a new list box on another parent.
  parent = MakeParent();
  parentProc = GetWindowLongPtrA(parent, GWLP_WNDPROC);
  ListBoxControl again;
  CreateAsApplication(again);
  Press(list, PointIn(list, 2));
  Release(list, PointIn(list, 2));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 2);
}

TEST_F(ListBoxControlTest, RecreatingAfterTheListBoxWasDestroyedGivesBackTheOldParent) {
  ListBoxControl control;
  CreateAsApplication(control);
  DestroyWindow(list);
  HWND other = MakeParent();
  const LONG_PTR otherProc = GetWindowLongPtrA(other, GWLP_WNDPROC);
  ASSERT_TRUE(control.Create(other, 0, 0, kListWidth, kListHeight, std::nullopt, kHasStrings));
  EXPECT_EQ(GetWindowLongPtrA(parent, GWLP_WNDPROC), parentProc);
  EXPECT_EQ(GetPropA(parent, "_This"), nullptr);
  control.Release();
  EXPECT_EQ(GetWindowLongPtrA(other, GWLP_WNDPROC), otherProc);
  DestroyWindow(other);
}

TEST_F(ListBoxControlTest, SecondControlOnTheSameParentKeepsTheChainFinite) {
  for (bool firstReleasedFirst : {true, false}) {
    SCOPED_TRACE(firstReleasedFirst ? "first released first" : "second released first");
    ListBoxControl first;
    ListBoxControl second;
    ASSERT_TRUE(first.Create(parent, 0, 0, 140, 100, std::nullopt, kHasStrings));
    ASSERT_TRUE(second.Create(parent, 150, 0, 140, 100, std::nullopt, kHasStrings));
    EXPECT_EQ(GetPropA(parent, "_This"), static_cast<HANDLE>(second.Self()));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(parent, "_Proc")), parentProc);
    // Messages to the parent end in its own procedure instead of looping.
    EXPECT_NE(SendMessageA(parent, WM_CTLCOLORLISTBOX, 0, 0), 0);
    second.AddItem("x");
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    if (firstReleasedFirst) {
      first.Release();
      EXPECT_EQ(GetPropA(parent, "_This"), static_cast<HANDLE>(second.Self()));
      second.Release();
    } else {
      second.Release();
      first.Release();
    }
    EXPECT_EQ(GetWindowLongPtrA(parent, GWLP_WNDPROC), parentProc);
    EXPECT_EQ(GetPropA(parent, "_Proc"), nullptr);
    DestroyWindow(first.GetWindowHandle());
    DestroyWindow(second.GetWindowHandle());
  }
}

TEST_F(ListBoxControlTest, ReleaseUnderALaterSubclassKeepsThatSubclassWorking) {
  static WNDPROC below = nullptr;
  static int seen = 0;
  seen = 0;
  ListBoxControl control;
  CreateAsApplication(control);
  const LRESULT ownBrush = SendMessageA(parent, WM_CTLCOLORLISTBOX, 0, 0);
  below = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      parent, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(+[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
                                     -> LRESULT {
        if (message == WM_USER + 7) ++seen;
        return CallWindowProcA(below, hwnd, message, wParam, lParam);
      })));
  control.Release();
  // The later subclass stays on top and its messages still reach the
  // parent's own procedure; the control no longer answers.
  EXPECT_EQ(GetPropA(parent, "_This"), nullptr);
  SendMessageA(parent, WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_NE(SendMessageA(parent, WM_CTLCOLORLISTBOX, 0, 0), ownBrush);
  SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(below));
}

// --- selection by press and release ------------------------------------------

TEST_F(ListBoxControlTest, PressAndReleaseOnOneItemSelectsItOnceAfterInvalidatingBoth) {
  ListBoxControl control;
  CreateAsApplication(control);
  PaintAndValidate(list);
  bool regionChecked = false;
  control.SetSelectionHandler([&](HWND hwnd, int index) {
    calls.push_back({hwnd, index});
    EXPECT_EQ(control.GetSelectedItem(), 3);
    EXPECT_TRUE(UpdateRegionIsItems(list, {0, 3}));
    regionChecked = true;
  });

  Press(list, PointIn(list, 3));
  Release(list, PointIn(list, 3, 100, 20));

  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].list, list);
  EXPECT_EQ(calls[0].index, 3);
  EXPECT_TRUE(regionChecked);
  EXPECT_EQ(control.GetSelectedItem(), 3);
}

TEST_F(ListBoxControlTest, OnlyAPressAndReleaseOnTheSameUnselectedItemSelects) {
  struct Case {
    const char* name;
    std::optional<int> press;    // item pressed; nullopt = no press
    std::optional<int> release;  // item released on; nullopt = empty area
    int selected;
    std::size_t handlerCalls;
  };
  const Case cases[] = {
      {"same item", 3, 3, 3, 1},
      {"press on 3, release on 5", 3, 5, 0, 0},
      {"the selected item again", 0, 0, 0, 0},
      {"release without a press", std::nullopt, 4, 0, 0},
      {"release below the last item", 3, std::nullopt, 0, 0},
      {"press below the last item", std::nullopt, std::nullopt, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    ListBoxControl control;
    CreateAsApplication(control);
    if (c.press) {
      Press(list, PointIn(list, *c.press));
    } else if (!c.release) {
      Press(list, BlankPoint());
    }
    PaintAndValidate(list);
    Release(list, c.release ? PointIn(list, *c.release) : BlankPoint());
    EXPECT_EQ(control.GetSelectedItem(), c.selected);
    EXPECT_EQ(calls.size(), c.handlerCalls);
    if (c.handlerCalls == 0) {
      EXPECT_TRUE(UpdateRegionIsItems(list, {}));
    }
    control.Release();
    DestroyWindow(list);
  }
}

TEST_F(ListBoxControlTest, ARejectedPressIsNotReusedByALaterRelease) {
  ListBoxControl control;
  CreateAsApplication(control);
  // A release before any press selects nothing, on item 0 neither.
  control.SetSelected(2);
  Release(list, PointIn(list, 0));
  EXPECT_EQ(control.GetSelectedItem(), 2);
  control.SetSelected(0);

  Press(list, PointIn(list, 3));
  Release(list, PointIn(list, 5));
  // A release on 3 without a new press belongs to no press on 3.
  Release(list, PointIn(list, 3));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(control.GetSelectedItem(), 0);
  // A full click still works afterwards.
  Press(list, PointIn(list, 5));
  Release(list, PointIn(list, 5));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 5);
}

TEST_F(ListBoxControlTest, HandlerIsOptionalAndMayReplaceItself) {
  ListBoxControl control;
  CreateAsApplication(control);
  control.SetSelectionHandler();  // omitted: no handler
  Press(list, PointIn(list, 2));
  Release(list, PointIn(list, 2));
  EXPECT_EQ(control.GetSelectedItem(), 2);

  int replacedCalls = 0;
  control.SetSelectionHandler([&](HWND, int index) {
    calls.push_back({nullptr, index});
    // Drops the running handler: the call must finish safely.
    control.SetSelectionHandler([&](HWND, int) { ++replacedCalls; });
  });
  Press(list, PointIn(list, 4));
  Release(list, PointIn(list, 4));
  Press(list, PointIn(list, 5));
  Release(list, PointIn(list, 5));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 4);
  EXPECT_EQ(replacedCalls, 1);

  using Plain = void (*)(HWND, int);
  control.SetSelectionHandler(Plain{nullptr});  // an empty function pointer is no handler
  Press(list, PointIn(list, 6));
  Release(list, PointIn(list, 6));
  EXPECT_EQ(control.GetSelectedItem(), 6);
}

TEST_F(ListBoxControlTest, RealMouseClickSelectsAndLeavingClearsTheHotItem) {
  ListBoxControl control;
  CreateAsApplication(control);
  SetForegroundWindow(Frame());
  Pump();
  const RECT item = ItemRect(list, 2);
  POINT target{item.left + 30, item.top + kItemHeight / 2};
  ClientToScreen(list, &target);
  SetCursorPos(target.x, target.y);

  INPUT inputs[3]{};
  const int screenW = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int screenH = GetSystemMetrics(SM_CYSCREEN) - 1;
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dx = target.x * 65535 / screenW;
  inputs[0].mi.dy = target.y * 65535 / screenH;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].type = INPUT_MOUSE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
  ASSERT_TRUE(PumpUntil([&] { return !calls.empty(); })) << "no selection from real input";
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 2);
  EXPECT_EQ(control.GetHotItem(), 2);

  // Moving the pointer off the list ends the hot item through WM_MOUSELEAVE.
  INPUT away{};
  away.type = INPUT_MOUSE;
  away.mi.dx = (kFramePosition.x - 100) * 65535 / screenW;
  away.mi.dy = (kFramePosition.y - 100) * 65535 / screenH;
  away.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ASSERT_EQ(SendInput(1, &away, sizeof(INPUT)), 1u);
  EXPECT_TRUE(PumpUntil([&] { return control.GetHotItem() == -1; }));
}

// --- hot tracking --------------------------------------------------------------

TEST_F(ListBoxControlTest, HotTrackingInvalidatesOnlyTheOldAndNewHotItem) {
  ListBoxControl control;
  CreateAsApplication(control);
  // The real pointer stands on item 2 too, so the leave tracking agrees.
  POINT inside{20, 2 * kItemHeight + 7};
  ClientToScreen(list, &inside);
  SetCursorPos(inside.x, inside.y);
  Pump();
  Move(list, PointIn(list, 2));
  EXPECT_EQ(control.GetHotItem(), 2);
  PaintAndValidate(list);

  Move(list, PointIn(list, 4));
  EXPECT_EQ(control.GetHotItem(), 4);
  EXPECT_TRUE(UpdateRegionIsItems(list, {2, 4}));
  PaintAndValidate(list);

  // Within the same item nothing changes.
  Move(list, PointIn(list, 4, 60, 15));
  EXPECT_TRUE(UpdateRegionIsItems(list, {}));

  SendMessageA(list, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(control.GetHotItem(), -1);
  EXPECT_TRUE(UpdateRegionIsItems(list, {4}));
  PaintAndValidate(list);

  // Below the last item there is no hot item.
  Move(list, PointIn(list, 6));
  PaintAndValidate(list);
  Move(list, BlankPoint());
  EXPECT_EQ(control.GetHotItem(), -1);
  EXPECT_TRUE(UpdateRegionIsItems(list, {6}));
}

// --- keyboard ------------------------------------------------------------------

TEST_F(ListBoxControlTest, KeyboardMovesOnlyTheListBoxOwnSelection) {
  ListBoxControl control;
  CreateAsApplication(control);
  UpdateWindow(parent);
  UpdateWindow(list);
  const Capture before = CaptureClient(list);
  SetFocus(list);

  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_END, VK_UP, VK_HOME, VK_DOWN}) {
    SendMessageA(list, WM_KEYDOWN, key, 0);
    SendMessageA(list, WM_KEYUP, key, 0);
  }
  SendMessageA(list, WM_CHAR, 'S', 0);
  Pump();
  UpdateWindow(list);

  EXPECT_NE(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR) << "the keys reached the list box";
  EXPECT_EQ(control.GetSelectedItem(), 0);
  EXPECT_TRUE(calls.empty());
  const Capture after = CaptureClient(list);
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  EXPECT_EQ(after.pixels, before.pixels) << "the look changed";
}

// --- the painted look -----------------------------------------------------------

TEST_F(ListBoxControlTest, SelectedItemIsARedBarWithWhiteTextFromX6) {
  ListBoxControl control;
  CreateAsApplication(control);  // SetSelected(0) without redraw, before any paint
  ShowWindow(parent, SW_SHOW);
  UpdateWindow(parent);
  UpdateWindow(list);
  const Capture shot = CaptureClient(list);
  ASSERT_GE(shot.width, kListWidth - 4);

  // Item 0: every pixel of the bar left of x 6 and of its last row is red;
  // white text pixels appear right of x 6 and nowhere else than red or white
  // edges of the glyphs.
  const BandCounts margin = CountBand(shot, 0, kItemHeight, 0, 6);
  EXPECT_EQ(margin.red, 6 * kItemHeight);
  const BandCounts bar = CountBand(shot, 0, kItemHeight, 6, shot.width);
  EXPECT_GT(bar.white, 20) << "white text";
  EXPECT_GT(bar.red, bar.white) << "red bar";
  for (int x = 0; x < shot.width; ++x) {
    EXPECT_EQ(shot.At(x, 0), kRedPixel) << "top row, x " << x;
    EXPECT_EQ(shot.At(x, kItemHeight - 1), kRedPixel) << "bottom row, x " << x;
  }

  // Item 1: red text on white from x 6; the margin and the rows are white.
  const BandCounts normalMargin = CountBand(shot, kItemHeight, 2 * kItemHeight, 0, 6);
  EXPECT_EQ(normalMargin.white, 6 * kItemHeight);
  const BandCounts normal = CountBand(shot, kItemHeight, 2 * kItemHeight, 6, shot.width);
  EXPECT_GT(normal.red, 10) << "red text";
  EXPECT_GT(normal.white, normal.red) << "white background";
  for (int x = 0; x < shot.width; ++x) EXPECT_EQ(shot.At(x, kItemHeight), kWhitePixel) << x;

  // The empty area below the items takes the background colour as well.
  const BandCounts empty = CountBand(shot, 8 * kItemHeight, shot.height, 0, shot.width);
  EXPECT_EQ(empty.white, shot.width * (shot.height - 8 * kItemHeight));
}

TEST_F(ListBoxControlTest, HotItemLooksLikeANormalItem) {
  ListBoxControl control;
  CreateAsApplication(control);
  UpdateWindow(list);
  const Capture before = CaptureClient(list);
  Move(list, PointIn(list, 3));
  ASSERT_EQ(control.GetHotItem(), 3);
  UpdateWindow(list);
  EXPECT_EQ(CaptureClient(list).pixels, before.pixels);
}

TEST_F(ListBoxControlTest, LongTextEndsInAnEllipsisOnOneLine) {
  ListBoxControl control;
  CreateAsApplication(control, 1);
  control.AddItem("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");  // item 1
  control.AddItem("WWW");                                       // item 2
  UpdateWindow(list);
  const Capture shot = CaptureClient(list);

  // Rows that hold text pixels among the given columns of one item.
  auto textRows = [&](int item, int x0, int x1) {
    int rows = 0;
    for (int y = item * kItemHeight; y < (item + 1) * kItemHeight; ++y) {
      bool any = false;
      for (int x = x0; x < x1; ++x) any = any || shot.At(x, y) != kWhitePixel;
      rows += any ? 1 : 0;
    }
    return rows;
  };
  // The rightmost text column of item 1.
  int right = -1;
  for (int x = shot.width - 1; x >= 0 && right < 0; --x) {
    for (int y = kItemHeight; y < 2 * kItemHeight; ++y) {
      if (shot.At(x, y) != kWhitePixel) {
        right = x;
        break;
      }
    }
  }
  ASSERT_GT(right, 6);
  const int fullHeight = textRows(2, 6, 60);
  ASSERT_GT(fullHeight, 8) << "the short text is drawn";
  // The last glyphs are dots, a few rows high, not cut letters.
  EXPECT_LE(textRows(1, right - 8, right + 1), 4);
  EXPECT_GE(textRows(1, right - 8, right + 1), 1);
  // Single line: the letters stand in the same rows as the short text's.
  EXPECT_EQ(textRows(1, 6, 60), fullHeight);
}

TEST_F(ListBoxControlTest, FocusRequestOfAnEmptyListIsNotDrawnSelected) {
  ListBoxControl control;
  ASSERT_TRUE(control.Create(parent, 0, 0, kListWidth, kListHeight, std::nullopt, kHasStrings));
  list = control.GetWindowHandle();
  const int width = 100;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, width, kItemHeight);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, target);

  DRAWITEMSTRUCT record{};
  record.CtlType = ODT_LISTBOX;
  record.itemID = static_cast<UINT>(-1);
  record.itemAction = ODA_FOCUS;
  record.hwndItem = list;
  record.hDC = memory;
  record.rcItem = RECT{0, 0, width, kItemHeight};
  EXPECT_EQ(SendMessageA(parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&record)), TRUE);
  for (int x = 0; x < width; x += 9) {
    EXPECT_EQ(GetPixel(memory, x, kItemHeight / 2), RGB(255, 255, 255)) << x;
  }
  // Drawing records of other controls are left to the parent.
  record.hwndItem = parent;
  EXPECT_EQ(SendMessageA(parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&record)), 0);

  SelectObject(memory, old);
  DeleteObject(target);
  DeleteDC(memory);
}

// --- selection and painting from the owner ------------------------------------

TEST_F(ListBoxControlTest, SetSelectedRepaintsOnlyWhenAskedAndNeverCallsTheHandler) {
  ListBoxControl control;
  CreateAsApplication(control);
  PaintAndValidate(list);

  control.SetSelected(3);
  EXPECT_EQ(control.GetSelectedItem(), 3);
  EXPECT_TRUE(UpdateRegionIsItems(list, {}));

  control.SetSelected(5, true);
  EXPECT_TRUE(UpdateRegionIsItems(list, {3, 5}));
  UpdateWindow(list);
  const Capture shot = CaptureClient(list);
  EXPECT_EQ(shot.At(2, 5 * kItemHeight + 2), kRedPixel);
  EXPECT_EQ(shot.At(2, 3 * kItemHeight + 2), kWhitePixel) << "one selected look only";
  EXPECT_TRUE(calls.empty());
}

TEST_F(ListBoxControlTest, SetItemHeightWithoutAHeightReportsTheCurrentOne) {
  ListBoxControl control;
  CreateAsApplication(control);
  EXPECT_EQ(control.SetItemHeight(), kItemHeight);
  EXPECT_EQ(control.SetItemHeight(), kItemHeight);
  EXPECT_EQ(control.SetItemHeight(30), 30);
  EXPECT_EQ(ItemRect(list, 1).top, 30);
  EXPECT_EQ(control.SetItemHeight(), 30);
}

TEST_F(ListBoxControlTest, TextsComeBackAsTheyWereAdded) {
  ListBoxControl control;
  CreateAsApplication(control, 3);
  EXPECT_EQ(control.AddItem(std::string(300, 'a')), 3);
  EXPECT_EQ(control.GetItemText(0), kPinned);
  EXPECT_EQ(control.GetItemText(2), "Source 2");
  EXPECT_EQ(control.GetItemText(3), std::string(300, 'a'));
  for (int missing : {-1, 4, 1000}) EXPECT_EQ(control.GetItemText(missing), "") << missing;
  EXPECT_EQ(control.GetCount(), 4);
}

TEST(ListBoxControlWithoutWindow, OperationsFailQuietly) {
  ListBoxControl control;
  EXPECT_EQ(control.GetWindowHandle(), nullptr);
  EXPECT_EQ(control.GetCount(), 0);
  EXPECT_EQ(control.GetItemText(0), "");
  EXPECT_LE(control.AddItem("x"), 0);
  EXPECT_LE(control.SetItemHeight(22), 0);
  EXPECT_EQ(control.ItemFromPoint(MAKELPARAM(5, 5)), -1);
  const RECT rect = control.GetItemRect(0);
  EXPECT_TRUE(IsRectEmpty(&rect));
  control.SetSelected(2, true);
  EXPECT_EQ(control.GetSelectedItem(), 2);
  EXPECT_EQ(control.GetDrawingDc(), nullptr);
  control.Release();
}

TEST_F(ListBoxControlTest, BackgroundBrushIsOnePerColourAndOwnedByTheControl) {
  ListBoxControl control;
  CreateAsApplication(control);
  auto brushOf = [&] {
    return reinterpret_cast<HBRUSH>(
        SendMessageA(parent, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list)));
  };
  auto colourOf = [](HBRUSH brush) {
    LOGBRUSH info{};
    return GetObjectA(brush, sizeof(info), &info) == sizeof(info) ? info.lbColor : CLR_INVALID;
  };
  HBRUSH white = brushOf();
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(colourOf(white), RGB(255, 255, 255));
  const DWORD objects = GdiObjects();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(brushOf(), white);
  EXPECT_EQ(GdiObjects(), objects);

  control.SetBackgroundColour(0x00FF00);
  HBRUSH green = brushOf();
  EXPECT_EQ(colourOf(green), RGB(0, 255, 0));
  EXPECT_EQ(GetObjectType(white), 0u) << "the brush of the old colour is deleted";
  control.Release();
  EXPECT_EQ(GetObjectType(green), 0u) << "Release deletes the brush";
}

TEST_F(ListBoxControlTest, RepaintingLeavesNoGdiObjectsBehind) {
  ListBoxControl control;
  CreateAsApplication(control, 12);
  control.AddItem("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const DWORD before = GdiObjects();
  ASSERT_GT(before, 0u) << "GDI objects are counted";
  {
    const varnelo::win::Brush probe(CreateSolidBrush(0x123456));
    ASSERT_EQ(GdiObjects(), before + 1) << "a new object is seen";
  }
  ASSERT_EQ(GdiObjects(), before);
  for (int i = 0; i < 200; ++i) {
    Move(list, PointIn(list, i % 12));
    control.SetSelected(i % 13, true);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  SendMessageA(list, WM_MOUSELEAVE, 0, 0);
  UpdateWindow(list);
  EXPECT_EQ(GdiObjects(), before);
}

TEST_F(ListBoxControlTest, CloneCopiesSettingsButNotTheRegistration) {
  ListBoxControl control;
  CreateAsApplication(control);
  control.SetBackgroundColour(0x123456);
  control.SetSelected(4);
  {
    std::unique_ptr<ListBoxControl> copy = control.Clone();
    EXPECT_EQ(copy->GetWindowHandle(), list);
    EXPECT_EQ(copy->GetSelectedItem(), 4);
    EXPECT_EQ(copy->GetBackgroundColour(), 0x123456u);
    EXPECT_EQ(copy->GetItemText(0), kPinned);
    copy->SetSelected(1);
    EXPECT_EQ(control.GetSelectedItem(), 4);
  }  // releasing the copy leaves the original registered
  EXPECT_EQ(GetPropA(list, "_This"), static_cast<HANDLE>(control.Self()));
  Press(list, PointIn(list, 2));
  Release(list, PointIn(list, 2));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 2);
}

// --- a derived control ---------------------------------------------------------

class DerivedControl : public ListBoxControl {
 public:
  LRESULT RawMessageHook(HWND, UINT message, WPARAM, LPARAM) override {
    return message == WM_KEYDOWN ? 1 : 0;  // takes every key
  }
  LRESULT ItemMouseHook(int item, UINT message, WPARAM, LPARAM packed) override {
    mouse.push_back({item, message, packed});
    return message == WM_LBUTTONUP && item == vetoed ? 1 : 0;
  }
  int DrawItem(HDC dc, int item, int width, int height, int state) override {
    if (GetDrawingDc() != dc) drawingDcMatched = false;
    if (item == 1) {
      SetFont(std::nullopt, 30, true);
      LOGFONTA font{};
      GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
      replacedHeight = font.lfHeight;
      replacedWeight = font.lfWeight;
      SetFont(std::nullopt, 20, false);
    }
    states.push_back({item, state});
    return ListBoxControl::DrawItem(dc, item, width, height, state);
  }

  struct Mouse {
    int item;
    UINT message;
    LPARAM packed;
  };
  std::vector<Mouse> mouse;
  std::vector<std::pair<int, int>> states;
  int vetoed = -1;
  bool drawingDcMatched = true;
  LONG replacedHeight = 0;
  LONG replacedWeight = 0;
};

TEST_F(ListBoxControlTest, DerivedHooksTakeMessagesAndVetoSelections) {
  DerivedControl control;
  CreateAsApplication(control);
  control.vetoed = 3;

  Press(list, PointIn(list, 3, 11, 4));
  Release(list, PointIn(list, 3, 11, 4));
  EXPECT_EQ(control.GetSelectedItem(), 0) << "vetoed";
  EXPECT_TRUE(calls.empty());
  ASSERT_EQ(control.mouse.size(), 2u);
  EXPECT_EQ(control.mouse[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(control.mouse[1].item, 3);
  EXPECT_EQ(control.mouse[1].packed, MAKELPARAM(11, 4)) << "point relative to the item";

  Press(list, PointIn(list, 4));
  Release(list, PointIn(list, 4));
  EXPECT_EQ(control.GetSelectedItem(), 4);
  EXPECT_EQ(calls.size(), 1u);

  // The raw hook takes the keys before the list box sees them.
  const LRESULT before = SendMessageA(list, LB_GETCURSEL, 0, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), before);
}

TEST_F(ListBoxControlTest, SetFontInsideDrawItemReplacesTheDrawingFont) {
  DerivedControl control;
  CreateAsApplication(control);
  Move(list, PointIn(list, 2));
  // The first paint makes the control's background brush, which it keeps.
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  control.states.clear();
  const DWORD before = GdiObjects();
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(GdiObjects(), before);
  EXPECT_TRUE(control.drawingDcMatched);
  EXPECT_EQ(control.GetDrawingDc(), nullptr) << "outside drawing";
  EXPECT_EQ(control.replacedHeight, 30);
  EXPECT_EQ(control.replacedWeight, 600);
  // The states handed to DrawItem follow the control's selection and hot item.
  std::vector<std::pair<int, int>> firstThree(control.states.begin(), control.states.begin() + 3);
  EXPECT_EQ(firstThree, (std::vector<std::pair<int, int>>{{0, 2}, {1, 0}, {2, 1}}));
}

}  // namespace
