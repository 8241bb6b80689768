// The tool's entry point: one main window on the message thread.
#include <windows.h>

#include "app/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  varnelo::app::App app;
  if (!app.CreateMainWindow()) return 1;
  return app.Run(showCommand);
}
