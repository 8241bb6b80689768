#include "app/label.h"

#include "app/window_class.h"

namespace varnelo::app {
namespace {

constexpr wchar_t kClassName[] = L"VarneloLabel";

}  // namespace

Label::~Label() {
  // The window goes first: it paints with the font.
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool Label::Create(HWND parent, int x, int y, int width, int height, const std::wstring& text,
                   const LabelFont& font, std::uint32_t colour) {
  if (window_ || !IsWindow(parent)) return false;
  if (font.characterHeight < 1 || font.characterHeight > 500 || font.face.size() >= LF_FACESIZE) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, kClassName, &Label::WindowProc, reinterpret_cast<LPCWSTR>(IDC_ARROW),
                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
    return false;
  }
  // A negative height asks for the character height, not the cell height.
  win::Font made(CreateFontW(-font.characterHeight, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, font.charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             font.face.c_str()));
  if (!made) return false;
  font_ = std::move(made);
  text_ = text;
  colour_ = colour;
  HWND window = CreateWindowExW(0, kClassName, text.c_str(), WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                nullptr, instance, this);
  return window != nullptr;
}

void Label::Paint(HDC dc) const {
  RECT client;
  GetClientRect(window_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  win::Selection font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(colour_));
  // Chinese text has no spaces: DT_EDITCONTROL lets lines break between any
  // two characters that do not fit.
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &client,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
}

LRESULT CALLBACK Label::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteToOwner(window, message, wParam, lParam, &Label::window_, &Label::HandleMessage);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_PAINT: {
      win::PaintDc paint(window);
      Paint(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace varnelo::app
