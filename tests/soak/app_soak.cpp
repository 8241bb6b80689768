// Long run of the application window: selections with mouse messages on the
// source list and share-image copies with clicks on the picture. GDI objects,
// USER objects and private memory must not grow.
//
//   app_soak.exe [CYCLES]    (default 1000)
// Prints the figures at the start (after a warm-up) and at the end; exits 1
// when anything grew or a copy left no bitmap on the clipboard.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "tests/support/win_resources.h"

namespace {

using namespace varnelo;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A press and release on list item `item`, as the mouse would make them.
void ClickItem(HWND list, int item) {
  SendMessageW(list, LB_SETTOPINDEX, std::max(0, item - 5), 0);
  RECT rect{};
  SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
  const LPARAM point = MAKELPARAM(20, (rect.top + rect.bottom) / 2);
  SendMessageW(list, WM_MOUSEMOVE, 0, point);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list, WM_LBUTTONUP, 0, point);
}

bool ClipboardHasBitmap() {
  return IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  app::App application;
  if (!application.CreateMainWindow()) {
    std::printf("app_soak: the main window could not be made\n");
    return 1;
  }
  ShowWindow(application.MainWindow(), SW_SHOWNOACTIVATE);
  const HWND list = application.SourceList().GetWindowHandle();
  const HWND picture = application.Picture().Handle();

  // Items 1..52 in turn, and the pinned entry every 13th cycle.
  auto cycle = [&](int i) {
    ClickItem(list, i % 13 == 12 ? 0 : 1 + i % 52);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    Pump();
    return ClipboardHasBitmap();
  };

  const int warmup = std::min(50, cycles / 4 + 1);
  for (int i = 0; i < warmup; ++i) cycle(i);
  const long gdiStart = testing::GdiObjectCount();
  const long userStart = testing::UserObjectCount();
  const std::size_t memoryStart = testing::PrivateBytes();
  int failures = 0;
  for (int i = 0; i < cycles; ++i) failures += !cycle(i);
  const long gdiEnd = testing::GdiObjectCount();
  const long userEnd = testing::UserObjectCount();
  const std::size_t memoryEnd = testing::PrivateBytes();

  std::printf("app_soak: %d selections and share-image copies, %d without a clipboard bitmap; "
              "GDI objects %ld -> %ld, USER objects %ld -> %ld, private KiB %zu -> %zu\n",
              cycles, failures, gdiStart, gdiEnd, userStart, userEnd, memoryStart / 1024, memoryEnd / 1024);
  const bool flat = gdiEnd == gdiStart && userEnd == userStart && memoryEnd <= memoryStart + 4u * 1024 * 1024;
  std::printf("app_soak: %s\n", flat && failures == 0 ? "flat" : "FAILED");
  DestroyWindow(application.MainWindow());
  Pump();
  return flat && failures == 0 ? 0 : 1;
}
