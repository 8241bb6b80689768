// What the toolkit's window classes share: registering a class once per
// process, and a window procedure that hands each message to the C++ object
// that owns the window.
#pragma once

#include <windows.h>

namespace varnelo::app {

// Registers the class unless it already is. background may be nullptr (the
// window paints every pixel itself).
inline bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC windowProc, LPCWSTR cursor,
                                HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, cursor);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// The body of an owner's window procedure. The owner comes as the creation
// parameter of CreateWindowExW; it learns its handle (into `handle`) at
// WM_NCCREATE and is kept in GWLP_USERDATA, and every message goes to its
// `handler`. After WM_NCDESTROY the owner's handle is cleared and it hears
// nothing more; messages before WM_NCCREATE get the default handling.
template <typename Owner>
LRESULT RouteToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Owner::*handle,
                     LRESULT (Owner::*handler)(UINT, WPARAM, LPARAM)) {
  if (message == WM_NCCREATE) {
    auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    owner->*handle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!owner) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = (owner->*handler)(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: from here on nothing reaches the owner.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    owner->*handle = nullptr;
  }
  return result;
}

}  // namespace varnelo::app
