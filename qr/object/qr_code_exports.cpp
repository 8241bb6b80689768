// The QR object's vector and text exports, read from its current code, and
// its payload builders.
#include "qr/object/qr_code.h"

namespace varnelo::qr {

namespace {

// The current code as the exports read it: the image size from the BMP
// bytes, the modules from the encoder, margins included. Lives no longer than
// the call that made it.
SymbolView ViewOf(const QrCode& code) {
  SymbolView view = MakeSymbolView(code.Encoder(), code.GetDarkColour(), code.GetLightColour());
  view.hasCode = code.HasCode();
  view.width = view.hasCode ? code.GetImageWidth() : 0;
  view.height = view.hasCode ? code.GetImageHeight() : 0;
  return view;
}

}  // namespace

TextBytes QrCode::ToTextArt(std::optional<bool> useCircles) const {
  return qr::ToTextArt(ViewOf(*this), useCircles);
}

ByteBuffer QrCode::ExportVector(std::optional<std::int16_t> format, std::optional<int> width,
                                std::optional<int> height) const {
  return qr::ExportVector(ViewOf(*this), format, width, height);
}

bool QrCode::SaveToFile(const TextBytes& path, std::optional<std::int16_t> format,
                        std::optional<int> width, std::optional<int> height) const {
  return qr::SaveToFile(ViewOf(*this), path, format, width, height);
}

TextBytes QrCode::ExportHtml(int widthPx, int heightPx) const {
  return qr::ExportHtml(ViewOf(*this), widthPx, heightPx);
}

TextBytes QrCode::MakeMailto(std::string_view address) { return qr::MakeMailto(address); }
TextBytes QrCode::MakeSmtp(std::string_view to, std::optional<std::string_view> subject,
                           std::optional<std::string_view> body) {
  return qr::MakeSmtp(to, subject, body);
}
TextBytes QrCode::MakeTel(std::string_view number) { return qr::MakeTel(number); }
TextBytes QrCode::MakeSmsTo(std::string_view number, std::optional<std::string_view> message) {
  return qr::MakeSmsTo(number, message);
}
TextBytes QrCode::MakeMmsTo(std::string_view number, std::optional<std::string_view> message) {
  return qr::MakeMmsTo(number, message);
}
TextBytes QrCode::MakeGeo(std::string_view latitude, std::string_view longitude,
                          std::optional<std::string_view> altitude) {
  return qr::MakeGeo(latitude, longitude, altitude);
}
TextBytes QrCode::MakeGoogleMapsLink(std::string_view latitude, std::string_view longitude,
                                     std::string_view label) {
  return qr::MakeGoogleMapsLink(latitude, longitude, label);
}
TextBytes QrCode::MakeBingMapsLink(std::string_view latitude, std::string_view longitude) {
  return qr::MakeBingMapsLink(latitude, longitude);
}
TextBytes QrCode::MakeMarketDetails(std::string_view packageId) {
  return qr::MakeMarketDetails(packageId);
}
TextBytes QrCode::MakeMarketSearch(std::string_view query) { return qr::MakeMarketSearch(query); }
TextBytes QrCode::MakeAppStoreLink(std::int32_t appId) { return qr::MakeAppStoreLink(appId); }
TextBytes QrCode::MakeUrlTo(std::string_view text) { return qr::MakeUrlTo(text); }
TextBytes QrCode::MakeFoursquareVenue(std::string_view venueId) {
  return qr::MakeFoursquareVenue(venueId);
}
TextBytes QrCode::MakeBookmark(std::string_view title, std::string_view url) {
  return qr::MakeBookmark(title, url);
}
TextBytes QrCode::MakeWifi(std::string_view ssid, std::optional<bool> isWep,
                           std::string_view password, std::optional<bool> hidden) {
  return qr::MakeWifi(ssid, isWep, password, hidden);
}
TextBytes QrCode::MakeYoutube(std::string_view videoId) { return qr::MakeYoutube(videoId); }
TextBytes QrCode::MakeFacebookLink(std::string_view page) { return qr::MakeFacebookLink(page); }
TextBytes QrCode::MakeTwitterLink(std::string_view user) { return qr::MakeTwitterLink(user); }
TextBytes QrCode::MakeTwitterStatus(std::string_view status) {
  return qr::MakeTwitterStatus(status);
}
TextBytes QrCode::MakeEvent(std::string_view summary, DateTime start, DateTime end,
                            std::optional<std::string_view> location,
                            std::optional<std::string_view> description) {
  return qr::MakeEvent(summary, start, end, location, description);
}
TextBytes QrCode::MakeBbm(std::string_view first, std::string_view second, std::string_view third) {
  return qr::MakeBbm(first, second, third);
}
TextBytes QrCode::MakeMeCard(const MeCardFields& fields) { return qr::MakeMeCard(fields); }
TextBytes QrCode::MakeVCard(const VCardFields& fields) { return qr::MakeVCard(fields); }

}  // namespace varnelo::qr
