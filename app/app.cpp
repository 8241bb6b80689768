#include "app/app.h"

#include "app/card_picture.h"
#include "app/catalogue.h"
#include "app/resource_ids.h"
#include "app/texts.h"

namespace varnelo::app {
namespace {

constexpr std::uint32_t kHintColour = 0x0000FF;  // red

}  // namespace

App::App() = default;

App::~App() {
  // The window's destroying event releases the drawing objects and the
  // application's start of GDI+ while the objects still exist.
  mainWindow_.Destroy();
  sourceAddresses_.clear();
}

bool App::CreateMainWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(VARNELO_IDI_APP));
  FormWindowEvents events;
  events.created = [this] {
    // The designed controls first: the created event may use them.
    picture_.Create(mainWindow_.Handle(), kPictureX, kPictureY, kPictureSize, kPictureSize);
    label_.Create(mainWindow_.Handle(), kLabelX, kLabelY, kLabelWidth, kLabelHeight, std::wstring(kHintText),
                  LabelFont{L"微软雅黑", 14, FW_NORMAL, GB2312_CHARSET}, kHintColour);
    OnMainWindowCreated();
  };
  events.destroying = [this] {
    OnMainWindowDestroying();
    if (running_) PostQuitMessage(0);
  };
  return mainWindow_.Create(std::wstring(kWindowTitle), kWindowX, kWindowY, kWindowWidth, kWindowHeight, icon,
                            std::move(events));
}

int App::Run(int showCommand) {
  running_ = true;
  mainWindow_.Show(showCommand);
  const int exitCode = RunMessageLoop();
  running_ = false;
  return exitCode;
}

void App::OnMainWindowCreated() {
  appGdiplus_.Start();
  for (CatalogueEntry& entry : ParseCatalogue(SourceCatalogue())) {
    sourceAddresses_.push_back(std::move(entry.address));
  }
  ShowEntry(0);
}

void App::OnMainWindowDestroying() { appGdiplus_.Shutdown(); }

void App::ShowEntry(int index) {
  if (index == 0) {
    picture_.SetPicture(CardPicture());
    return;
  }
}

}  // namespace varnelo::app
