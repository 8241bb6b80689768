// The form toolkit's text label: text in a given font and colour on the
// window background, wrapped to the label's width. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "win/handles.h"

namespace varnelo::app {

struct LabelFont {
  std::wstring face;
  int characterHeight = 0;  // pixels, without internal leading; 1..500
  int weight = FW_NORMAL;   // 100..900
  BYTE charset = DEFAULT_CHARSET;
};

class Label {
 public:
  Label() = default;
  Label(const Label&) = delete;
  Label& operator=(const Label&) = delete;
  ~Label();

  // Creates the label as a child of parent; colour is 0x00BBGGRR. False when
  // it exists already, the font cannot be made or the window cannot.
  bool Create(HWND parent, int x, int y, int width, int height, const std::wstring& text,
              const LabelFont& font, std::uint32_t colour);

  HWND Handle() const { return window_; }
  const std::wstring& Text() const { return text_; }
  HFONT Font() const { return font_.get(); }
  std::uint32_t Colour() const { return colour_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;

  HWND window_ = nullptr;
  win::Font font_;
  std::wstring text_;
  std::uint32_t colour_ = 0;
};

}  // namespace varnelo::app
