// The form toolkit's top-level window: a fixed-size frame window with a
// created and a will-be-destroyed event. Windows only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace varnelo::app {

struct FormWindowEvents {
  // Runs once, right after the window exists (before it is shown): the place
  // to create run-time child windows.
  std::function<void()> created;
  // Runs once when the window is being destroyed, while its children still
  // exist.
  std::function<void()> destroying;
};

class FormWindow {
 public:
  FormWindow() = default;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  // Destroys the window if it still exists (its destroying event runs).
  ~FormWindow();

  // Creates the window at (x, y) with the given outer size; false when it
  // already exists or cannot be made. The created event runs before Create
  // returns true. icon may be null.
  bool Create(const std::wstring& title, int x, int y, int width, int height, HICON icon,
              FormWindowEvents events);
  void Show(int showCommand) const;
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  FormWindowEvents events_;
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace varnelo::app
