// The QR object: one encoder, the code it made last as a bitmap and as BMP
// bytes, and everything callers take away from it (image bytes in five
// formats, files, the clipboard). Windows only.
//
// Usage: Generate once per text, then ask for outputs. The application does
//   code.Generate(address, {.version = 8, .level = 1});
//   ByteBuffer bmp = code.EncodeToImageBytes({.size = 288}, 0);
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "qr/object/binding.h"
#include "qr/object/exports.h"
#include "qr/object/gdiplus_flat.h"
#include "qr/object/image_conversion.h"
#include "qr/object/payload.h"
#include "qr/object/text_conversion.h"
#include "win/handles.h"

namespace varnelo::qr {

// The optional parameters of Generate. Omitted values take the defaults of
// QrCode::Generate; the ranges are tested on the values as given.
struct GenerateOptions {
  // Bit 0 set: encode the ANSI bytes as they are (all of them, zero bytes
  // included); clear: encode the UTF-8 form. Other bits are ignored. Omitted: 0.
  std::optional<int> inputFlags = std::nullopt;
  std::optional<int> version = std::nullopt;  // 0..40, 0 = smallest that fits (omitted: 0)
  std::optional<int> level = std::nullopt;    // 0..4: 1 L, 2 M, 3 Q, 4 H, 0 = M (omitted: 2)
  std::optional<int> mask = std::nullopt;     // -1..7, -1 = pattern 0 (omitted: -1)
  std::optional<RgbColor> darkColour = std::nullopt;   // omitted: 0x000000
  std::optional<RgbColor> lightColour = std::nullopt;  // omitted: 0xFFFFFF
  // Image bytes in any format the platform decodes; one that does not decode
  // leaves the previous logo in place.
  std::optional<ByteBuffer> logo = std::nullopt;
  // Light border in pixels of the 1-pixel-per-module image, omitted: 1 each.
  // Not validated.
  std::optional<int> marginLeft = std::nullopt;
  std::optional<int> marginBottom = std::nullopt;
  std::optional<int> marginTop = std::nullopt;
  std::optional<int> marginRight = std::nullopt;
  // Whether Kanji mode may be used. Omitted: only for ANSI bytes under the
  // Japanese code page (932), never for the UTF-8 form. A caller that knows
  // its bytes (qrgen's --kanji) says so here.
  std::optional<bool> allowKanji = std::nullopt;
};

// The composition options shared by the image outputs. Nothing is composed
// unless size is given.
struct ImageComposition {
  std::optional<int> size = std::nullopt;  // side to which the code image is stretched, 1..
  // Picture the code is set onto, any format the platform decodes; used when
  // not empty and decodable.
  std::optional<ByteBuffer> background = std::nullopt;
  // Size the background is stretched to; omitted or <= 0: its own dimension.
  std::optional<int> backgroundWidth = std::nullopt;
  std::optional<int> backgroundHeight = std::nullopt;
  // Shift of the code from the background's centre, and of the logo from the
  // centre of the result (omitted: 0).
  std::optional<int> offsetX = std::nullopt;
  std::optional<int> offsetY = std::nullopt;
  std::optional<bool> speckle = std::nullopt;  // light cells around the code (omitted: false)
};

class QrCode {
 public:
  // Empty object: no code, level 2, mask -1, light colour white. Seeds the
  // noise generator from the clock and starts the graphics library for the
  // object's own image conversions.
  QrCode();
  // Copying is Clone: every setting and byte is copied, the bitmaps are
  // copied, and the copy starts the graphics library for itself.
  QrCode(const QrCode& other);
  QrCode& operator=(const QrCode& other);
  ~QrCode();

  // Deletes the bitmaps, detaches the object from every window it paints in,
  // shuts its start of the graphics library down and empties every member.
  // The object is then like a new one; the next Generate starts the library
  // again.
  void Release();
  QrCode Clone() const { return *this; }

  // Encodes text (ANSI code page) and keeps the result. False when version,
  // level or mask is out of range (nothing changes but that the previous code
  // is gone), when the encoder cannot hold the message, or when the bitmap
  // cannot be read back; HasCode is then false.
  bool Generate(const TextBytes& text, const GenerateOptions& options = {});

  // Accessors. Image width and height are read from the BMP bytes (0 without
  // a code).
  int GetImageWidth() const;
  int GetImageHeight() const;
  ByteBuffer GetImageBytes() const { return codeBmpBytes; }
  HBITMAP GetCodeBitmap() const { return codeBitmap.get(); }  // the object keeps it
  bool HasCode() const { return codeBitmap && !codeBmpBytes.empty(); }
  TextBytes GetText() const { return text; }
  int GetInputFlags() const { return inputFlags; }
  int GetLevel() const { return level; }
  int GetVersion() const { return version; }
  RgbColor GetDarkColour() const { return darkColour; }
  RgbColor GetLightColour() const { return lightColour; }
  ByteBuffer GetLogo() const { return logoImage; }
  int GetMarginLeft() const { return marginLeft; }
  int GetMarginBottom() const { return marginBottom; }
  int GetMarginTop() const { return marginTop; }
  int GetMarginRight() const { return marginRight; }
  // The encoder that made the code, for readers of its modules (ModuleAt).
  const QrEncoder& Encoder() const { return encoder; }
  // The random bytes of the last code's speckle: width * height * 10 / 8.
  std::span<const std::uint8_t> NoiseBytes() const { return noiseBytes; }

  // Image outputs (qr_code_outputs.cpp). format: ImageFormat 0..4 (omitted:
  // 0, BMP). With composition.size given (and above 0 for image bytes), the
  // code is stretched to size x size, set onto the background if one is given
  // and decodes, and the logo of the last Generate that had one is pasted in
  // the middle.
  //
  // The image bytes, or empty without a code or with a format outside 0..4.
  // When the platform cannot encode the format, BMP bytes.
  ByteBuffer EncodeToImageBytes(const ImageComposition& composition = {},
                                std::optional<int> format = std::nullopt) const;
  // Writes the image, re-encoded by the platform encoder of format, to path
  // (ANSI). False, with any existing file left as it was, without a code, for
  // a format outside 0..4 or when a step fails.
  bool SaveImageToFile(const TextBytes& path, const ImageComposition& composition = {},
                       std::optional<int> format = std::nullopt) const;
  // Puts the code (composed when size is given) on the clipboard as CF_BITMAP.
  bool CopyToClipboard(const ImageComposition& composition = {}) const;

  // Display binding (qr_code_binding.cpp, binding.h). The window, one of this
  // process, paints the current code on every WM_PAINT from then on, placed
  // by mode 0..10 (omitted: 0), with copies taken now: a later Generate does
  // not change what it shows. A second attach replaces the first. False, with
  // the window untouched, for a handle that is no window of this process, a
  // mode outside 0..10 or a display size below 0.
  bool AttachToWindow(HWND window, std::optional<int> mode = std::nullopt,
                      const DisplayOptions& options = {});
  // The window goes back to its own procedure and painting. False for a
  // handle that is no window (a destroyed one also leaves attachedWindows).
  // Release and the destructor detach every window.
  bool DetachFromWindow(HWND window);
  bool IsAttached(HWND window) const;

  // Vector and text exports of the current code (qr_code_exports.cpp; the
  // formats are described in exports.h). Empty results, or false, without a
  // code; ExportHtml then gives the empty container. format: VectorFormat
  // 0..4 (omitted: 0, PostScript); width and height size the SVG drawing.
  TextBytes ToTextArt(std::optional<bool> useCircles = std::nullopt) const;
  ByteBuffer ExportVector(std::optional<std::int16_t> format = std::nullopt,
                          std::optional<int> width = std::nullopt,
                          std::optional<int> height = std::nullopt) const;
  // Any existing file at path is left as it was when saving fails.
  bool SaveToFile(const TextBytes& path, std::optional<std::int16_t> format = std::nullopt,
                  std::optional<int> width = std::nullopt,
                  std::optional<int> height = std::nullopt) const;
  TextBytes ExportHtml(int widthPx, int heightPx) const;

  // Payload builders (payload.h): texts for Generate, built from the
  // arguments alone.
  static TextBytes MakeMailto(std::string_view address);
  static TextBytes MakeSmtp(std::string_view to,
                            std::optional<std::string_view> subject = std::nullopt,
                            std::optional<std::string_view> body = std::nullopt);
  static TextBytes MakeTel(std::string_view number);
  static TextBytes MakeSmsTo(std::string_view number,
                             std::optional<std::string_view> message = std::nullopt);
  static TextBytes MakeMmsTo(std::string_view number,
                             std::optional<std::string_view> message = std::nullopt);
  static TextBytes MakeGeo(std::string_view latitude, std::string_view longitude,
                           std::optional<std::string_view> altitude = std::nullopt);
  static TextBytes MakeGoogleMapsLink(std::string_view latitude, std::string_view longitude,
                                      std::string_view label);
  static TextBytes MakeBingMapsLink(std::string_view latitude, std::string_view longitude);
  static TextBytes MakeMarketDetails(std::string_view packageId);
  static TextBytes MakeMarketSearch(std::string_view query);
  static TextBytes MakeAppStoreLink(std::int32_t appId);
  static TextBytes MakeUrlTo(std::string_view text);
  static TextBytes MakeFoursquareVenue(std::string_view venueId);
  static TextBytes MakeBookmark(std::string_view title, std::string_view url);
  static TextBytes MakeWifi(std::string_view ssid, std::optional<bool> isWep,
                            std::string_view password,
                            std::optional<bool> hidden = std::nullopt);
  static TextBytes MakeYoutube(std::string_view videoId);
  static TextBytes MakeFacebookLink(std::string_view page);
  static TextBytes MakeTwitterLink(std::string_view user);
  static TextBytes MakeTwitterStatus(std::string_view status);
  static TextBytes MakeEvent(std::string_view summary, DateTime start, DateTime end,
                             std::optional<std::string_view> location = std::nullopt,
                             std::optional<std::string_view> description = std::nullopt);
  static TextBytes MakeBbm(std::string_view first, std::string_view second,
                           std::string_view third);
  static TextBytes MakeMeCard(const MeCardFields& fields);
  static TextBytes MakeVCard(const VCardFields& fields);

 private:
  // The composed image of the outputs: empty when the stretch fails.
  ByteBuffer Compose(const ImageComposition& composition) const;
  // Release's hook: every window in attachedWindows goes back to its own
  // painting.
  void DetachAllWindows();
  void CopyFrom(const QrCode& other);

  QrEncoder encoder;
  win::Bitmap codeBitmap;          // the last code at 1 pixel per module, margins included
  ByteBuffer codeBmpBytes;         // codeBitmap as BMP bytes
  std::vector<HWND> attachedWindows;
  win::Bitmap logoBitmap;          // the logo of the last Generate that had one
  int logoWidth = 0;               // its pixel size
  int logoHeight = 0;
  TextBytes text;                  // text of the last Generate
  int inputFlags = 0;              // bit 0: ANSI bytes as they are
  std::int16_t version = 0;        // 0..40
  std::int16_t level = 2;          // 0..4
  std::int16_t mask = -1;          // -1..7
  RgbColor darkColour = 0x000000;
  RgbColor lightColour = 0xFFFFFF;
  ByteBuffer logoImage;            // the logo bytes exactly as the last Generate got them
  int marginLeft = 0;
  int marginBottom = 0;
  int marginTop = 0;
  int marginRight = 0;
  gdiplus::Session gdiplusToken;   // the object's own start of the graphics library
  ByteBuffer logoBmpBytes;         // logoBitmap as BMP bytes
  win::Bitmap displayBackgroundBitmap;  // background of the display binding
  ByteBuffer displayBackgroundBmpBytes;
  ByteBuffer noiseBytes;           // width * height * 10 / 8 random bytes of the last code
  std::mt19937 random;             // seeded once, at construction
};

}  // namespace varnelo::qr
