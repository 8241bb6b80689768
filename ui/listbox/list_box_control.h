// ListBoxControl: a system list box with its own look and its own selection.
//
// The control creates a "ListBox" child on a parent window and subclasses
// both windows through one shared window procedure. Each subclassed window
// carries three properties: "_Proc" (the procedure that was in place before),
// "_This" (the control) and "_Method" (which hook handles this window: the
// list hook on the list box, the parent hook on the parent). The parent hook
// paints every item off-screen and answers the list's background brush; the
// list hook tracks the item under the mouse and the pressed item, and reports
// a press and release on the same unselected item to the selection handler.
//
// The control's selection is its own: it never reads or sets the list box's
// selection, so keyboard input in the list changes neither the look nor the
// selection the handler reports.
//
// Windows only; message-thread only. Item indices are 0-based, -1 = none.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "win/handles.h"

namespace varnelo::ui {

using RgbColor = std::uint32_t;  // 0x00BBGGRR, red in the low byte

class ListBoxControl {
 public:
  // Called as handler(list window, new 0-based index) after a selection
  // change by the mouse; its result is ignored.
  using SelectionHandler = std::function<void(HWND, int)>;

  // Item looks passed to DrawItem.
  static constexpr int kStateNormal = 0;
  static constexpr int kStateHot = 1;
  static constexpr int kStateSelected = 2;

  ListBoxControl() = default;
  // Copying is Clone: every setting and state member, the face duplicated.
  // The copy is not registered with any window and owns no brush yet.
  ListBoxControl(const ListBoxControl& other);
  ListBoxControl& operator=(const ListBoxControl&) = delete;
  // Calls Release, so no window keeps calling into a destroyed object.
  virtual ~ListBoxControl();

  // Gives back the windows (both procedures restored, the three properties
  // removed where this object is the one registered), the brushes and the
  // face. The list box itself stays; it is destroyed with its parent.
  virtual void Release();
  virtual std::unique_ptr<ListBoxControl> Clone() const;

  // Hooks. A derived control overrides them; a non-zero result is the
  // message's result and the window's previous procedure is not called.
  // Returns 0; a derived control may take a list-box message first.
  virtual LRESULT RawMessageHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Parent messages: WM_DRAWITEM for this list box, WM_CTLCOLORLISTBOX.
  virtual LRESULT ParentMessageHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // List-box messages: RawMessageHook first, then the four mouse handlers.
  virtual LRESULT ListMessageHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Returns 0; non-zero on WM_LBUTTONUP vetoes the selection. packedPoint is
  // the point relative to the item's top-left corner, x low 16 bits, y high.
  virtual LRESULT ItemMouseHook(int item, UINT message, WPARAM wParam, LPARAM packedPoint);
  // Returns 1; kept for derived controls.
  virtual int ReturnOne();

  // Mouse handlers; lParam is the client point (x low 16 bits, y high, both
  // signed). Each returns 0 so the list box still gets the message, except a
  // vetoed button-up, which returns 1.
  virtual LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLeftButtonUp(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);

  // Paints one item of width x height into dc (the memory DC of
  // DrawItemMessage, background already filled, item font selected).
  // state: kStateSelected, kStateHot or kStateNormal. Returns 0.
  virtual int DrawItem(HDC dc, int item, int width, int height, int state);
  // Double-buffered painting of the item a WM_DRAWITEM record names.
  virtual void DrawItemMessage(const DRAWITEMSTRUCT& record);

  // Creates the list box on parent and subclasses both windows. borderKind:
  // 1 client edge, 2 thin border, anything else (omitted = 0) none.
  // extraStyle is OR-ed into the list box style (LBS_HASSTRINGS = 64 for
  // text items). True when created, and true without change when this
  // object's list box already exists; false for a parent that is not a
  // window or when the list box cannot be made.
  bool Create(HWND parent, int x, int y, int width, int height,
              std::optional<int> borderKind = std::nullopt,
              std::optional<DWORD> extraStyle = std::nullopt);

  ListBoxControl* Self() { return this; }
  // The item whose rectangle holds the client point in lParam, or -1.
  int ItemFromPoint(LPARAM lParam) const;
  // The item's rectangle in client coordinates; empty for no such item.
  RECT GetItemRect(int item) const;
  // Invalidates rect in the list box without erasing the background.
  void InvalidateItemRect(const RECT& rect) const;
  // Stores the handler; an omitted or empty handler clears it.
  void SetSelectionHandler(std::optional<SelectionHandler> handler = std::nullopt);
  int GetHotItem() const { return hotItem; }
  HWND GetWindowHandle() const { return window; }
  // Invalidates the item; nothing for -1.
  void RedrawItem(int item) const;
  // Sets the item height (when given) and returns the current item height.
  int SetItemHeight(std::optional<int> height = std::nullopt);
  void SetColumnWidth(int width);
  LRESULT GetItemData(int item) const;
  // Appends text (ANSI); returns its index, or LB_ERR / LB_ERRSPACE.
  int AddItem(const std::string& text);
  // Applies from the next painted item; nothing is repainted.
  void SetBackgroundColour(RgbColor colour) { backgroundColour = colour; }
  int GetCount() const;
  // Makes item the control's selection; repaints only that item when redraw.
  void SetSelected(int item, std::optional<bool> redraw = std::nullopt);
  // The item's text (ANSI); empty for no such item.
  std::string GetItemText(int item) const;
  // Stores the given values; inside DrawItem the new font replaces the one
  // selected in the drawing DC at once.
  void SetFont(std::optional<std::string> face = std::nullopt,
               std::optional<int> height = std::nullopt,
               std::optional<bool> bold = std::nullopt);
  // The memory DC while an item is being drawn, else 0.
  HDC GetDrawingDc() const { return drawingDc; }

  int GetSelectedItem() const { return selectedItem; }
  RgbColor GetBackgroundColour() const { return backgroundColour; }

  // The procedure every subclassed window runs.
  static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // The solid brush of backgroundColour, kept until the colour changes.
  HBRUSH BackgroundBrush();
  // The item font from fontFace, fontHeight and fontBold.
  HFONT CreateItemFont() const;
  // Point of lParam relative to the item's top-left corner, packed.
  LPARAM PackedPoint(int item, LPARAM lParam) const;

  RgbColor backgroundColour = 0xFFFFFF;
  int fontHeight = 20;  // character height in pixels (CreateFontA height)
  // "微软雅黑" in the GBK code page.
  std::string fontFace = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
  bool fontBold = false;  // weight 600 when set, 400 when clear
  HWND window = nullptr;
  int hotItem = -1;
  int selectedItem = -1;
  int pressedItem = -1;
  HDC drawingDc = nullptr;  // non-zero only inside DrawItem
  bool trackingLeave = false;
  SelectionHandler selectionHandler;

 private:
  // Puts back the window's previous procedure and removes the properties
  // when this object is the one registered on it.
  void Unhook(HWND hwnd);
  // Registers this object on hwnd with the given "_Method" value.
  bool Subclass(HWND hwnd, std::uintptr_t method);

  HWND parentWindow = nullptr;  // the parent subclassed by Create
  win::Brush backgroundBrush;   // solid brush of backgroundBrushColour
  RgbColor backgroundBrushColour = 0;
  win::Font itemFont;           // the item font, only while an item is drawn
};

}  // namespace varnelo::ui
