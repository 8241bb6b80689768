#include "app/form_window.h"

#include "app/window_class.h"

namespace varnelo::app {
namespace {

constexpr wchar_t kClassName[] = L"VarneloForm";

}  // namespace

FormWindow::~FormWindow() { Destroy(); }

bool FormWindow::Create(const std::wstring& title, int x, int y, int width, int height, HICON icon,
                        FormWindowEvents events) {
  if (window_) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, kClassName, &FormWindow::WindowProc, reinterpret_cast<LPCWSTR>(IDC_ARROW),
                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
    return false;
  }
  events_ = std::move(events);
  // A fixed layout: caption, system menu and minimise, no resizing frame.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HWND window = CreateWindowExW(0, kClassName, title.c_str(), style, x, y, width, height, nullptr, nullptr,
                                instance, this);
  if (!window) return false;
  if (icon) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  if (events_.created) events_.created();
  return true;
}

void FormWindow::Show(int showCommand) const {
  if (!window_) return;
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

void FormWindow::Destroy() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteToOwner(window, message, wParam, lParam, &FormWindow::window_, &FormWindow::HandleMessage);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  if (message == WM_DESTROY) {
    if (events_.destroying) events_.destroying();
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunMessageLoop() {
  MSG msg;
  BOOL result;
  while ((result = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result < 0 ? 1 : static_cast<int>(msg.wParam);
}

}  // namespace varnelo::app
