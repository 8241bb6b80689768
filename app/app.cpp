#include "app/app.h"

#include "app/card_picture.h"
#include "app/catalogue.h"
#include "app/clipboard_copy.h"
#include "app/resource_ids.h"
#include "app/share_image.h"
#include "app/texts.h"
#include "draw/image.h"
#include "draw/string_format.h"

namespace varnelo::app {
namespace {

constexpr RgbColor kRed = 0x0000FF;
constexpr RgbColor kWhite = 0xFFFFFF;
constexpr RgbColor kBlack = 0x000000;
constexpr std::uint8_t kCaptionAlpha = 244;
constexpr float kCaptionFontSize = 12.0f;
constexpr int kCaptionFontStyle = 1;  // bold
constexpr DWORD kListExtraStyle = LBS_HASSTRINGS;

// The codes: version 8 (49 × 49 modules) at level L, stretched to the box.
constexpr int kCodeVersion = 8;
constexpr int kCodeLevel = 1;

// GDI+'s PNG image format.
constexpr const char* kPngFormat = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

}  // namespace

App::App() = default;

App::~App() {
  // The window's destroying event releases the drawing objects and the
  // application's start of GDI+ first.
  mainWindow_.Destroy();
  shareBitmap_.Release();
  captionFont_.Release();
  captionBrush_.Release();
  shareGraphics_.Release();
  sourceList_.Release();
  sourceAddresses_.clear();
  // qrObject_ goes last of the long-lived objects: the members declared
  // after it only hold windows that are gone by now.
}

bool App::CreateMainWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(VARNELO_IDI_APP));
  FormWindowEvents events;
  events.created = [this] {
    // The designed controls first: the created event uses them.
    HWND window = mainWindow_.Handle();
    picture_.Create(window, kPictureX, kPictureY, kPictureSize, kPictureSize);
    picture_.SetLeftButtonDownHandler([this] { OnPictureLeftButtonDown(); });
    label_.Create(window, kLabelX, kLabelY, kLabelWidth, kLabelHeight, std::wstring(kHintText),
                  LabelFont{L"微软雅黑", 14, FW_NORMAL, GB2312_CHARSET}, kRed);
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
  shareBitmap_.CreateWithSize(kShareWidth, kShareHeight);
  shareGraphics_.FromImage(shareBitmap_);
  shareGraphics_.SetTextRenderingHint(0);  // the system default
  captionFont_.CreateFromName(std::string(kCaptionFontFamily), kCaptionFontSize, kCaptionFontStyle);
  captionBrush_.CreateSolid(ArgbFromRgb(kRed, kCaptionAlpha));

  HWND window = mainWindow_.Handle();
  sourceList_.Create(window, kListX, kListY, kListWidth, kListHeight, std::nullopt, kListExtraStyle);
  sourceList_.SetItemHeight(kItemHeight);
  sourceList_.AddItem(std::string(kPinnedEntry));
  // Only lines with an address become items, so item n keeps address n.
  for (CatalogueEntry& entry : ParseCatalogue(SourceCatalogue())) {
    sourceAddresses_.push_back(std::move(entry.address));
    sourceList_.AddItem(entry.name);
  }
  sourceList_.SetSelectionHandler([this](HWND list, int index) { OnSourceSelected(list, index); });
  sourceList_.SetSelected(0);  // no redraw: item 0 is drawn selected from the first paint
  ShowEntry(0);
}

void App::OnMainWindowDestroying() {
  // The graphics before the bitmap it draws on.
  shareGraphics_.Release();
  shareBitmap_.Release();
  captionFont_.Release();
  captionBrush_.Release();
  appGdiplus_.Shutdown();
}

void App::OnSourceSelected(HWND, int index) { ShowEntry(index); }

void App::ShowEntry(int index) {
  if (index == 0) {
    picture_.SetPicture(CardPicture());
    return;
  }
  if (index < 0 || static_cast<std::size_t>(index) > sourceAddresses_.size()) return;
  qr::GenerateOptions options;
  options.inputFlags = 0;
  options.version = kCodeVersion;
  options.level = kCodeLevel;
  options.darkColour = kBlack;
  options.lightColour = kWhite;
  // A failed encode leaves no code: the image bytes are then empty and the
  // box shows no picture.
  qrObject_.Generate(sourceAddresses_[static_cast<std::size_t>(index) - 1], options);
  qr::ImageComposition composition;
  composition.size = kPictureSize;
  picture_.SetPicture(qrObject_.EncodeToImageBytes(composition, 0));
  picture_.SetTag(sourceList_.GetItemText(index));
}

void App::OnPictureLeftButtonDown() {
  // Nothing to draw on before the window's created event or after its end.
  if (!shareGraphics_.GetNativeHandle()) return;
  draw::Image image;
  const bool loaded = image.LoadFromBytes(ReadableBmpHeader(picture_.Picture()));
  shareGraphics_.Clear(ArgbFromRgb(kWhite, 255));
  // A picture that cannot be loaded leaves the share image white apart from
  // the caption.
  if (loaded) {
    shareGraphics_.DrawImageRect(image, 0.0f, static_cast<float>(kCaptionBand), static_cast<float>(kPictureSize),
                                 static_cast<float>(kPictureSize));
  }
  const std::string caption = std::string(kCaptionPrefix) + picture_.Tag();
  const draw::RectF layout = MakeLayoutRect(6.0f, 6.0f, static_cast<float>(kShareWidth), 24.0f);
  const draw::StringFormat defaultFormat;  // never created: the library's default layout
  shareGraphics_.DrawString(caption, captionFont_, captionBrush_, layout, defaultFormat);
  const draw::ByteBuffer png = shareBitmap_.SaveToBytes(std::string(kPngFormat));
  CopyBitmapToClipboard(mainWindow_.Handle(), png);
  image.Release();
}

}  // namespace varnelo::app
