// The payload builders and their escaping.
#include <utility>

#include "qr/object/payload.h"
#include "qr/object/payload_codepage.h"

namespace varnelo::qr {

namespace {

// Concatenates its pieces.
template <typename... Pieces>
TextBytes Join(const Pieces&... pieces) {
  TextBytes out;
  out.reserve((std::string_view(pieces).size() + ... + 0));
  (out.append(std::string_view(pieces)), ...);
  return out;
}

TextBytes ReplaceSpaces(TextBytes text) {
  for (char& c : text)
    if (c == ' ') c = '+';
  return text;
}

TextBytes HttpLink(std::string_view host, std::string_view rest) {
  return Join("http://", host, rest);
}

// "key" esc(value) ";" when the value is given.
void AppendField(TextBytes& out, std::string_view key, std::optional<std::string_view> value) {
  if (!value) return;
  out.append(key).append(EscapePayloadText(*value)).append(";");
}

// LF "key" esc(value) when the value is given.
void AppendLine(TextBytes& out, std::string_view key, std::optional<std::string_view> value) {
  if (!value) return;
  out.append("\n").append(key).append(EscapePayloadText(*value));
}

}  // namespace

TextBytes EscapePayloadText(std::string_view text) {
  TextBytes out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    // A double-byte character passes whole: its trail byte may equal '\'.
    // Trail bytes start at 0x40, so the other special characters, all below
    // it, are never part of one.
    if (IsAnsiLeadByte(static_cast<std::uint8_t>(c)) && i + 1 < text.size() &&
        static_cast<std::uint8_t>(text[i + 1]) >= 0x40) {
      out += c;
      out += text[++i];
      continue;
    }
    if (c == '\\' || c == ';' || c == ',' || c == ':' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

TextBytes MakeMailto(std::string_view address) {
  return Join("mailto:", EscapePayloadText(address));
}

TextBytes MakeSmtp(std::string_view to, std::optional<std::string_view> subject,
                   std::optional<std::string_view> body) {
  TextBytes out = Join("SMTP:", EscapePayloadText(to));
  if (subject) out.append(":").append(EscapePayloadText(*subject));
  if (body) out.append(subject ? ":" : "::").append(EscapePayloadText(*body));
  return out;
}

TextBytes MakeTel(std::string_view number) { return Join("tel:", EscapePayloadText(number)); }

TextBytes MakeSmsTo(std::string_view number, std::optional<std::string_view> message) {
  TextBytes out = Join("smsto:", EscapePayloadText(number));
  if (message) out.append(":").append(EscapePayloadText(*message));
  return out;
}

TextBytes MakeMmsTo(std::string_view number, std::optional<std::string_view> message) {
  TextBytes out = Join("mmsto:", EscapePayloadText(number));
  if (message) out.append(":").append(EscapePayloadText(*message));
  return out;
}

TextBytes MakeGeo(std::string_view latitude, std::string_view longitude,
                  std::optional<std::string_view> altitude) {
  TextBytes out = Join("geo:", latitude, ",", longitude);
  if (altitude) out.append(",").append(*altitude);
  return out;
}

TextBytes MakeGoogleMapsLink(std::string_view latitude, std::string_view longitude,
                             std::string_view label) {
  return HttpLink(kGoogleMapsHost,
                  Join("/maps?f=q&q=", latitude, "%2C", longitude, "+%28", label, "%29"));
}

TextBytes MakeBingMapsLink(std::string_view latitude, std::string_view longitude) {
  return HttpLink(kBingMapsHost,
                  Join("/maps/?v=2&cp=", latitude, "~", longitude, "&lvl=16&dir=0&sty=r"));
}

TextBytes MakeMarketDetails(std::string_view packageId) {
  return Join("market://details?id=", EscapePayloadText(packageId));
}

TextBytes MakeMarketSearch(std::string_view query) {
  return Join("market://search?q=", ReplaceSpaces(EscapePayloadText(query)));
}

TextBytes MakeAppStoreLink(std::int32_t appId) {
  return Join("itms://", kAppStoreHost, "/app/id", std::to_string(appId));
}

TextBytes MakeUrlTo(std::string_view text) { return Join("urlto:", text); }

TextBytes MakeFoursquareVenue(std::string_view venueId) {
  return HttpLink(kFoursquareHost, Join("/v/", venueId));
}

TextBytes MakeBookmark(std::string_view title, std::string_view url) {
  return Join("MEBKM:TITLE:", EscapePayloadText(title), ";URL:", EscapePayloadText(url), ";;");
}

TextBytes MakeWifi(std::string_view ssid, std::optional<bool> isWep, std::string_view password,
                   std::optional<bool> hidden) {
  TextBytes out = Join("WIFI:S:", EscapePayloadText(ssid), ";");
  if (hidden) out.append(*hidden ? "H:True;" : "H:False;");
  if (isWep)
    out.append(*isWep ? "T:WEP;" : "T:WPA;")
        .append("P:")
        .append(EscapePayloadText(password))
        .append(";");
  else
    out.append("T:nopass;");
  out.append(";");
  return out;
}

TextBytes MakeYoutube(std::string_view videoId) {
  return Join("youtube://", EscapePayloadText(videoId));
}

TextBytes MakeFacebookLink(std::string_view page) {
  return HttpLink(kFacebookHost, Join("/", page));
}

TextBytes MakeTwitterLink(std::string_view user) { return HttpLink(kTwitterHost, Join("/", user)); }

TextBytes MakeTwitterStatus(std::string_view status) {
  return HttpLink(kTwitterHost, Join("/home?status=", ReplaceSpaces(TextBytes(status))));
}

TextBytes MakeEvent(std::string_view summary, DateTime start, DateTime end,
                    std::optional<std::string_view> location,
                    std::optional<std::string_view> description) {
  constexpr std::string_view kStamp = "yyyyMMdd'T'HHmmss";
  TextBytes out = Join("BEGIN:VEVENT\nSUMMARY:", EscapePayloadText(summary));
  AppendLine(out, "LOCATION:", location);
  AppendLine(out, "DESCRIPTION:", description);
  out.append("\nDTSTART:").append(FormatDateTime(start, kStamp));
  out.append("\nDTEND:").append(FormatDateTime(end, kStamp));
  out.append("\nEND:VEVENT");
  return out;
}

TextBytes MakeBbm(std::string_view first, std::string_view second, std::string_view third) {
  return Join("bbm://", third, "00000000", first, " ", second);
}

TextBytes MakeMeCard(const MeCardFields& fields) {
  TextBytes out = Join("MECARD:N:", EscapePayloadText(fields.namePart1), ",",
                       EscapePayloadText(fields.namePart2), ";");
  AppendField(out, "TEL:", fields.telephone);
  AppendField(out, "TEL-AV:", fields.videoTelephone);
  AppendField(out, "EMAIL:", fields.email);
  AppendField(out, "URL:", fields.webAddressB);
  if (fields.birthday)
    out.append("BDAY:").append(FormatDateTime(*fields.birthday, "yyyyMMdd")).append(";");
  AppendField(out, "URL:", fields.webAddressA);
  out.append(";");
  return out;
}

TextBytes MakeVCard(const VCardFields& fields) {
  TextBytes out = Join("BEGIN:VCARD\nVERSION:3.0\nN:", EscapePayloadText(fields.familyName), ";",
                       EscapePayloadText(fields.givenName), ";;");
  if (fields.showAsCompany.value_or(false)) out.append("\nX-ABShowAs:COMPANY");
  AppendLine(out, "TN:", fields.tn);
  AppendLine(out, "ORG:", fields.organisation);
  AppendLine(out, "TITLE:", fields.title);
  AppendLine(out, "EMAIL;type=INTERNET;type=WORK:", fields.workEmail);
  AppendLine(out, "TEL;type=CELL:", fields.mobileTelephone);
  AppendLine(out, "TEL;type=WORK:", fields.workTelephone);
  AppendLine(out, "TEL;type=HOME:", fields.homeTelephone);
  AppendLine(out, "TEL;type=WORK,FAX:", fields.workFax);
  AppendLine(out, "TEL;type=HOME,FAX:", fields.homeFax);
  AppendLine(out, "ADR;type=WORK:", fields.workAddress);
  AppendLine(out, "ADR;type=HOME:", fields.homeAddress);
  if (fields.birthday)
    out.append("\nBDAY;value=date:").append(FormatDateTime(*fields.birthday, "yyyy-MM-dd"));
  AppendLine(out, "URL;type=WORK:", fields.workWebAddress);
  AppendLine(out, "URL;type=HOME:", fields.homeWebAddress);
  out.append("\nEND:VCARD");
  return out;
}

}  // namespace varnelo::qr
