// The application: the main window with its source list, picture box and
// label, the embedded source catalogue, and the share image a click on the
// picture puts on the clipboard. Windows only; message-thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/form_window.h"
#include "app/gdiplus_support.h"
#include "app/label.h"
#include "app/picture_box.h"

namespace varnelo::app {

class App {
 public:
  // Window layout: outer frame, picture box, label, list.
  static constexpr int kWindowX = 50, kWindowY = 50, kWindowWidth = 447, kWindowHeight = 403;
  static constexpr int kPictureX = 144, kPictureY = 8, kPictureSize = 288;
  static constexpr int kLabelX = 16, kLabelY = 320, kLabelWidth = 416, kLabelHeight = 40;
  static constexpr int kListX = 0, kListY = 0, kListWidth = 140, kListHeight = 300, kItemHeight = 22;

  App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  // Destroys the main window if it is still there, then releases the
  // long-lived objects.
  ~App();

  // Creates the main window with its picture box and label; its created
  // event (OnMainWindowCreated) runs before this returns. False when the
  // window cannot be made or already exists.
  bool CreateMainWindow();
  // Shows the window and runs the message loop until the window is closed.
  int Run(int showCommand);

  // The main window's events.
  void OnMainWindowCreated();
  void OnMainWindowDestroying();
  // Shows list item index in the picture box: 0 the card picture, n ≥ 1 the
  // code of address n. Other indices change nothing.
  void ShowEntry(int index);

  HWND MainWindow() const { return mainWindow_.Handle(); }
  const std::vector<std::string>& SourceAddresses() const { return sourceAddresses_; }
  PictureBox& Picture() { return picture_; }
  Label& HintLabel() { return label_; }

 private:
  std::vector<std::string> sourceAddresses_;  // address n at [n - 1], GBK/ASCII

  GdiplusSession appGdiplus_;  // the application's own start of GDI+
  FormWindow mainWindow_;
  PictureBox picture_;
  Label label_;
  bool running_ = false;  // inside Run: closing the window ends the loop
};

}  // namespace varnelo::app
