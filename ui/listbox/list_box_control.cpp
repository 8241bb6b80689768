#include "ui/listbox/list_box_control.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace varnelo::ui {

namespace {

constexpr char kProcProperty[] = "_Proc";
constexpr char kThisProperty[] = "_This";
constexpr char kMethodProperty[] = "_Method";

// "_Method" values: which hook handles the window's messages.
constexpr std::uintptr_t kListMethod = 1;
constexpr std::uintptr_t kParentMethod = 2;

constexpr RgbColor kRed = 0x0000FF;
constexpr RgbColor kWhite = 0xFFFFFF;
constexpr int kTextLeft = 6;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS;

WNDPROC CurrentProc(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

// Takes the shared procedure out of hwnd. When another procedure was put on
// top of it since, the shared procedure stays in the chain and keeps only
// "_Proc", so it passes every message on unchanged.
void RemoveSubclass(HWND hwnd) {
  auto previous = GetPropA(hwnd, kProcProperty);
  if (previous && CurrentProc(hwnd) == &ListBoxControl::SharedWindowProc) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(hwnd, kProcProperty);
  }
  RemovePropA(hwnd, kThisProperty);
  RemovePropA(hwnd, kMethodProperty);
}

}  // namespace

ListBoxControl::ListBoxControl(const ListBoxControl& other)
    : backgroundColour(other.backgroundColour),
      fontHeight(other.fontHeight),
      fontFace(other.fontFace),
      fontBold(other.fontBold),
      window(other.window),
      hotItem(other.hotItem),
      selectedItem(other.selectedItem),
      pressedItem(other.pressedItem),
      // The copy is not drawing: it must not put fonts into another's DC.
      drawingDc(nullptr),
      trackingLeave(other.trackingLeave),
      selectionHandler(other.selectionHandler),
      parentWindow(other.parentWindow) {}

ListBoxControl::~ListBoxControl() { ListBoxControl::Release(); }

void ListBoxControl::Release() {
  Unhook(window);
  Unhook(parentWindow);
  window = nullptr;
  parentWindow = nullptr;
  hotItem = -1;
  trackingLeave = false;
  selectionHandler = nullptr;
  fontFace.clear();
  fontFace.shrink_to_fit();
  backgroundBrush.reset();
}

std::unique_ptr<ListBoxControl> ListBoxControl::Clone() const {
  return std::make_unique<ListBoxControl>(*this);
}

void ListBoxControl::Unhook(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return;
  if (GetPropA(hwnd, kThisProperty) != static_cast<HANDLE>(this)) return;
  RemoveSubclass(hwnd);
}

bool ListBoxControl::Subclass(HWND hwnd, std::uintptr_t method) {
  // Already subclassed (another control on the same parent): take over the
  // registration but keep the procedure chain, which must never lead back
  // into the shared procedure.
  const bool chained = GetPropA(hwnd, kProcProperty) != nullptr;
  if (!chained) {
    const auto previous = reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (!previous || !SetPropA(hwnd, kProcProperty, previous)) return false;
  }
  if (!SetPropA(hwnd, kThisProperty, static_cast<HANDLE>(Self())) ||
      !SetPropA(hwnd, kMethodProperty, reinterpret_cast<HANDLE>(method))) {
    if (!chained) RemovePropA(hwnd, kProcProperty);
    RemovePropA(hwnd, kThisProperty);
    RemovePropA(hwnd, kMethodProperty);
    return false;
  }
  if (!chained) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc));
  }
  return true;
}

LRESULT CALLBACK ListBoxControl::SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kProcProperty));
  if (!previous) return DefWindowProcA(hwnd, message, wParam, lParam);
  auto* self = static_cast<ListBoxControl*>(GetPropA(hwnd, kThisProperty));
  const auto method = reinterpret_cast<std::uintptr_t>(GetPropA(hwnd, kMethodProperty));

  if (message == WM_NCDESTROY) {
    // The window goes away: leave it as it was and let the object forget it.
    if (self) {
      if (self->window == hwnd) {
        self->window = nullptr;
        self->hotItem = -1;
        self->trackingLeave = false;
      }
      if (self->parentWindow == hwnd) self->parentWindow = nullptr;
    }
    RemoveSubclass(hwnd);
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }

  if (self) {
    LRESULT result = 0;
    // Nothing may unwind through the system's message dispatch.
    try {
      if (method == kListMethod) {
        result = self->ListMessageHook(hwnd, message, wParam, lParam);
      } else if (method == kParentMethod) {
        result = self->ParentMessageHook(hwnd, message, wParam, lParam);
      }
    } catch (...) {
      result = 0;
    }
    if (result != 0) return result;
  }
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

LRESULT ListBoxControl::RawMessageHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT ListBoxControl::ParentMessageHook(HWND, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      if (!lParam || !window) return 0;
      const DRAWITEMSTRUCT record = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (record.hwndItem != window) return 0;
      DrawItemMessage(record);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(BackgroundBrush());
    default:
      return 0;
  }
}

LRESULT ListBoxControl::ListMessageHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const LRESULT taken = RawMessageHook(hwnd, message, wParam, lParam)) return taken;
  switch (message) {
    case WM_MOUSEMOVE:
      return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
      return OnLeftButtonUp(wParam, lParam);
    case WM_MOUSELEAVE:
      return OnMouseLeave(wParam, lParam);
    default:
      return 0;
  }
}

LRESULT ListBoxControl::ItemMouseHook(int, UINT, WPARAM, LPARAM) { return 0; }

int ListBoxControl::ReturnOne() { return 1; }

LRESULT ListBoxControl::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  if (!trackingLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 0;
    if (TrackMouseEvent(&track)) trackingLeave = true;
  }
  const int item = ItemFromPoint(lParam);
  if (item != hotItem) {
    RedrawItem(item);
    RedrawItem(hotItem);
    hotItem = item;
  }
  ItemMouseHook(item, WM_MOUSEMOVE, wParam, PackedPoint(item, lParam));
  return 0;
}

LRESULT ListBoxControl::OnMouseLeave(WPARAM, LPARAM) {
  const int old = hotItem;
  hotItem = -1;
  trackingLeave = false;
  RedrawItem(old);
  return 0;
}

LRESULT ListBoxControl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
  const int item = ItemFromPoint(lParam);
  pressedItem = item;
  ItemMouseHook(item, WM_LBUTTONDOWN, wParam, PackedPoint(item, lParam));
  return 0;
}

LRESULT ListBoxControl::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
  const int item = ItemFromPoint(lParam);
  // A release ends the press it belongs to, whatever it leads to: a later
  // release without a new press selects nothing.
  const int pressed = std::exchange(pressedItem, -1);
  if (ItemMouseHook(item, WM_LBUTTONUP, wParam, PackedPoint(item, lParam)) != 0) return 1;
  if (item != -1 && item == pressed && selectedItem != pressed) {
    const int old = selectedItem;
    selectedItem = pressed;
    RedrawItem(old);
    RedrawItem(selectedItem);
    if (selectionHandler) {
      // A copy: the handler may replace or clear the stored one.
      const SelectionHandler handler = selectionHandler;
      handler(window, item);
    }
  }
  return 0;
}

int ListBoxControl::DrawItem(HDC dc, int item, int width, int height, int state) {
  if (state == kStateSelected) {
    const win::Brush bar(CreateSolidBrush(kRed));
    const RECT all{0, 0, width, height};
    if (bar) FillRect(dc, &all, bar.get());
    SetTextColor(dc, kWhite);
  } else {
    SetTextColor(dc, kRed);
  }
  const std::string text = GetItemText(item);
  RECT textRect{kTextLeft, 0, width, height};
  DrawTextA(dc, text.c_str(), -1, &textRect, kTextFormat);
  return 0;
}

void ListBoxControl::DrawItemMessage(const DRAWITEMSTRUCT& record) {
  const int width = record.rcItem.right - record.rcItem.left;
  const int height = record.rcItem.bottom - record.rcItem.top;
  if (!record.hDC || width <= 0 || height <= 0) return;

  const win::MemoryDc memory(CreateCompatibleDC(record.hDC));
  if (!memory) return;
  const win::Bitmap bitmap(CreateCompatibleBitmap(record.hDC, width, height));
  if (!bitmap) return;
  const win::Selection bitmapSelection(memory.get(), bitmap.get());
  SetBkMode(memory.get(), TRANSPARENT);
  const RECT all{0, 0, width, height};
  if (const HBRUSH background = BackgroundBrush()) FillRect(memory.get(), &all, background);

  // Ends the drawing state on every path; declared before the font's
  // selection so the DC's own font is back before the item font is deleted.
  struct DrawingScope {
    ListBoxControl& control;
    ~DrawingScope() {
      control.drawingDc = nullptr;
      control.itemFont.reset();
    }
  } scope{*this};
  itemFont.reset(CreateItemFont());
  const win::Selection fontSelection(memory.get(), itemFont.get());

  const int item = static_cast<int>(record.itemID);
  // -1 is the focus request of an empty list box, never an item to show
  // as selected.
  int state = kStateNormal;
  if (item != -1 && item == selectedItem) {
    state = kStateSelected;
  } else if (item != -1 && item == hotItem) {
    state = kStateHot;
  }

  drawingDc = memory.get();
  DrawItem(memory.get(), item, width, height, state);
  drawingDc = nullptr;
  BitBlt(record.hDC, record.rcItem.left, record.rcItem.top, width, height, memory.get(), 0, 0,
         SRCCOPY);
}

bool ListBoxControl::Create(HWND parent, int x, int y, int width, int height,
                            std::optional<int> borderKind, std::optional<DWORD> extraStyle) {
  if (window && IsWindow(window)) return true;
  if (!parent || !IsWindow(parent)) return false;
  // The list box is gone but its parent may still be subclassed for this
  // object: give it back before registering on the new parent.
  Unhook(parentWindow);
  parentWindow = nullptr;

  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                LBS_NOINTEGRALHEIGHT;
  DWORD extendedStyle = 0;
  switch (borderKind.value_or(0)) {
    case 1:
      extendedStyle = WS_EX_CLIENTEDGE;
      break;
    case 2:
      style |= WS_BORDER;
      break;
    default:
      break;
  }
  style |= extraStyle.value_or(0);

  HWND list = CreateWindowExA(extendedStyle, "ListBox", "", style, x, y, width, height, parent,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!list) return false;
  window = list;
  if (!Subclass(list, kListMethod)) {
    DestroyWindow(list);
    window = nullptr;
    return false;
  }
  if (!Subclass(parent, kParentMethod)) {
    Unhook(list);
    DestroyWindow(list);
    window = nullptr;
    return false;
  }
  parentWindow = parent;
  return true;
}

int ListBoxControl::ItemFromPoint(LPARAM lParam) const {
  const LRESULT result = SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
  // The high word is set when the point lies outside the client area.
  if (result < 0 || HIWORD(result) != 0) return -1;
  const int item = LOWORD(result);
  const RECT rect = GetItemRect(item);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&rect, point) ? item : -1;
}

RECT ListBoxControl::GetItemRect(int item) const {
  RECT rect{};
  if (item < 0 ||
      SendMessageA(window, LB_GETITEMRECT, static_cast<WPARAM>(item),
                   reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
    return RECT{};
  }
  return rect;
}

LPARAM ListBoxControl::PackedPoint(int item, LPARAM lParam) const {
  const RECT rect = GetItemRect(item);
  const int x = GET_X_LPARAM(lParam) - rect.left;
  const int y = GET_Y_LPARAM(lParam) - rect.top;
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

void ListBoxControl::InvalidateItemRect(const RECT& rect) const {
  InvalidateRect(window, &rect, FALSE);
}

void ListBoxControl::SetSelectionHandler(std::optional<SelectionHandler> handler) {
  selectionHandler = handler ? std::move(*handler) : SelectionHandler{};
}

void ListBoxControl::RedrawItem(int item) const {
  if (item == -1) return;
  const RECT rect = GetItemRect(item);
  if (IsRectEmpty(&rect)) return;
  InvalidateItemRect(rect);
}

int ListBoxControl::SetItemHeight(std::optional<int> height) {
  if (height) SendMessageA(window, LB_SETITEMHEIGHT, 0, MAKELPARAM(*height, 0));
  return static_cast<int>(SendMessageA(window, LB_GETITEMHEIGHT, 0, 0));
}

void ListBoxControl::SetColumnWidth(int width) {
  SendMessageA(window, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width), 0);
}

LRESULT ListBoxControl::GetItemData(int item) const {
  return SendMessageA(window, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
}

int ListBoxControl::AddItem(const std::string& text) {
  return static_cast<int>(
      SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBoxControl::GetCount() const {
  return static_cast<int>(SendMessageA(window, LB_GETCOUNT, 0, 0));
}

void ListBoxControl::SetSelected(int item, std::optional<bool> redraw) {
  const bool repaint = redraw.value_or(false);
  const int old = selectedItem;
  selectedItem = item;
  if (!repaint) return;
  // The old selection loses its look as well, so at most one item shows it.
  if (old != item) RedrawItem(old);
  RedrawItem(item);
}

std::string ListBoxControl::GetItemText(int item) const {
  if (item < 0) return {};
  const LRESULT length = SendMessageA(window, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length <= 0) return {};
  // Room for the terminating zero the list box writes after the text.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(window, LB_GETTEXT, static_cast<WPARAM>(item),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied <= 0) return {};
  text.resize(static_cast<std::size_t>(std::min(copied, length)));
  return text;
}

void ListBoxControl::SetFont(std::optional<std::string> face, std::optional<int> height,
                             std::optional<bool> bold) {
  if (face) fontFace = std::move(*face);
  if (height) fontHeight = *height;
  if (bold) fontBold = *bold;
  if (!drawingDc) return;
  win::Font font(CreateItemFont());
  if (!font) return;
  SelectObject(drawingDc, font.get());
  // The replaced item font is out of the DC now; this deletes it.
  itemFont = std::move(font);
}

HBRUSH ListBoxControl::BackgroundBrush() {
  if (!backgroundBrush || backgroundBrushColour != backgroundColour) {
    win::Brush brush(CreateSolidBrush(backgroundColour));
    if (!brush) return backgroundBrush.get();
    backgroundBrush = std::move(brush);
    backgroundBrushColour = backgroundColour;
  }
  return backgroundBrush.get();
}

HFONT ListBoxControl::CreateItemFont() const {
  return CreateFontA(fontHeight, 0, 0, 0, fontBold ? 600 : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                     FF_MODERN | DEFAULT_PITCH, fontFace.c_str());
}

}  // namespace varnelo::ui
