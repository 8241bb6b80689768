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
#include "draw/bitmap.h"
#include "draw/brush.h"
#include "draw/font.h"
#include "draw/graphics.h"
#include "qr/object/qr_code.h"
#include "ui/listbox/list_box_control.h"

namespace varnelo::app {

class App {
 public:
  // Window layout: outer frame, picture box, label, list.
  static constexpr int kWindowX = 50, kWindowY = 50, kWindowWidth = 447, kWindowHeight = 403;
  static constexpr int kPictureX = 144, kPictureY = 8, kPictureSize = 288;
  static constexpr int kLabelX = 16, kLabelY = 320, kLabelWidth = 416, kLabelHeight = 40;
  static constexpr int kListX = 0, kListY = 0, kListWidth = 140, kListHeight = 300, kItemHeight = 22;
  // The share image: a caption band above the picture.
  static constexpr int kShareWidth = 288, kShareHeight = 312, kCaptionBand = 24;

  // Constructs the long-lived objects in this order: share bitmap, caption
  // font, caption brush, share graphics (all without platform objects until
  // the window exists), source list, source addresses, QR object.
  App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  // Destroys the main window if it is still there, then releases the
  // long-lived objects in their order, the QR object last.
  ~App();

  // Creates the main window with its picture box and label; its created
  // event (OnMainWindowCreated) runs before this returns. False when the
  // window cannot be made or already exists.
  bool CreateMainWindow();
  // Shows the window and runs the message loop until the window is closed.
  int Run(int showCommand);

  // The main window's created event: starts GDI+ for the application, makes
  // the share image's drawing objects, creates and fills the source list,
  // selects the pinned entry and shows the card.
  void OnMainWindowCreated();
  // The main window's will-be-destroyed event: releases the drawing objects,
  // then the application's start of GDI+.
  void OnMainWindowDestroying();
  // The list's selection handler: shows the newly selected item.
  void OnSourceSelected(HWND list, int index);
  // Shows list item index in the picture box: 0 the card picture (the tag
  // stays), n ≥ 1 the code of address n with the item's text as the tag.
  // Indices without an entry change nothing.
  void ShowEntry(int index);
  // The picture box's left-button press: composes the share image (caption
  // band, then the current picture in 288 × 288) and puts it on the
  // clipboard as a bitmap.
  void OnPictureLeftButtonDown();

  HWND MainWindow() const { return mainWindow_.Handle(); }
  ui::ListBoxControl& SourceList() { return sourceList_; }
  // Address n (1-based, as list item n) is element n - 1.
  const std::vector<std::string>& SourceAddresses() const { return sourceAddresses_; }
  PictureBox& Picture() { return picture_; }
  Label& HintLabel() { return label_; }
  // The share image as last composed (a drawing-layer bitmap).
  const draw::Bitmap& ShareBitmap() const { return shareBitmap_; }
  bool GdiplusStarted() const { return appGdiplus_.Token() != 0; }

 private:
  draw::Bitmap shareBitmap_;
  draw::Font captionFont_;
  draw::Brush captionBrush_;
  draw::Graphics shareGraphics_;
  ui::ListBoxControl sourceList_;
  std::vector<std::string> sourceAddresses_;  // GBK text, address n at [n - 1]
  qr::QrCode qrObject_;

  GdiplusSession appGdiplus_;  // the application's own start of GDI+
  FormWindow mainWindow_;
  PictureBox picture_;
  Label label_;
  bool running_ = false;  // inside Run: closing the window ends the loop
};

}  // namespace varnelo::app
