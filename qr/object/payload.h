// Builders of the texts that QR readers recognise: mail, telephone, messages,
// positions and map links, store links, bookmarks, Wi-Fi, social links,
// calendar events and contact cards. Pure functions of their arguments: no
// value is validated or percent-encoded; esc() below is EscapePayloadText.
// Portable: no platform header here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnelo::qr {

using TextBytes = std::string;  // system ANSI code page, as in exports.h

// A local date and time without time zone: days since 30 December 1899, the
// fraction being the time of day (for negative values the fraction still
// counts forward from midnight of the day named by the integer part).
using DateTime = double;

// Web hosts of the link builders.
inline constexpr std::string_view kGoogleMapsHost = "maps.google.com";
inline constexpr std::string_view kBingMapsHost = "www.bing.com";
inline constexpr std::string_view kAppStoreHost = "itunes.apple.com";
inline constexpr std::string_view kFoursquareHost = "foursquare.com";
inline constexpr std::string_view kFacebookHost = "www.facebook.com";
inline constexpr std::string_view kTwitterHost = "twitter.com";

// Puts a backslash before every \ ; , : and " (inserted backslashes are not
// doubled again). The trail byte of a double-byte ANSI character is never
// taken for one of them.
TextBytes EscapePayloadText(std::string_view text);

// The calendar fields of a DateTime, rounded to the nearest second; nothing
// for a value that is not finite or lies outside the years 100..9999.
struct DateTimeParts {
  int year = 0;       // 100..9999
  int month = 0;      // 1..12
  int day = 0;        // 1..31
  int hour = 0;       // 0..23
  int minute = 0;     // 0..59
  int second = 0;     // 0..59
  int dayOfWeek = 0;  // 0 = Sunday
};
std::optional<DateTimeParts> SplitDateTime(DateTime value);

// Expands the date pictures (d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg)
// and time pictures (h hh H HH, m mm, s ss, t tt) of picture with the
// Gregorian calendar and English names; text in single quotes is copied
// without the quotes ('' is one quote), every other character as it is.
// Empty for a value SplitDateTime refuses.
TextBytes FormatDateTime(DateTime value, std::string_view picture);

TextBytes MakeMailto(std::string_view address);
// "SMTP:" to [":" subject] [":" body]; the body follows "::" without a subject.
TextBytes MakeSmtp(std::string_view to, std::optional<std::string_view> subject = std::nullopt,
                   std::optional<std::string_view> body = std::nullopt);
TextBytes MakeTel(std::string_view number);
TextBytes MakeSmsTo(std::string_view number,
                    std::optional<std::string_view> message = std::nullopt);
TextBytes MakeMmsTo(std::string_view number,
                    std::optional<std::string_view> message = std::nullopt);
TextBytes MakeGeo(std::string_view latitude, std::string_view longitude,
                  std::optional<std::string_view> altitude = std::nullopt);
TextBytes MakeGoogleMapsLink(std::string_view latitude, std::string_view longitude,
                             std::string_view label);
TextBytes MakeBingMapsLink(std::string_view latitude, std::string_view longitude);
TextBytes MakeMarketDetails(std::string_view packageId);
TextBytes MakeMarketSearch(std::string_view query);
TextBytes MakeAppStoreLink(std::int32_t appId);
TextBytes MakeUrlTo(std::string_view text);
TextBytes MakeFoursquareVenue(std::string_view venueId);
TextBytes MakeBookmark(std::string_view title, std::string_view url);
// isWep given: "T:WEP;" or "T:WPA;" and the password; omitted: "T:nopass;".
// hidden given: "H:True;" or "H:False;".
TextBytes MakeWifi(std::string_view ssid, std::optional<bool> isWep, std::string_view password,
                   std::optional<bool> hidden = std::nullopt);
TextBytes MakeYoutube(std::string_view videoId);
TextBytes MakeFacebookLink(std::string_view page);
TextBytes MakeTwitterLink(std::string_view user);
TextBytes MakeTwitterStatus(std::string_view status);
// VEVENT lines joined by LF; start and end as yyyyMMddTHHmmss local time.
TextBytes MakeEvent(std::string_view summary, DateTime start, DateTime end,
                    std::optional<std::string_view> location = std::nullopt,
                    std::optional<std::string_view> description = std::nullopt);
TextBytes MakeBbm(std::string_view first, std::string_view second, std::string_view third);

// The MeCard fields, in the order the builder takes them.
struct MeCardFields {
  std::string_view namePart1{};
  std::string_view namePart2{};
  std::optional<std::string_view> email{};
  std::optional<std::string_view> telephone{};
  std::optional<std::string_view> videoTelephone{};
  std::optional<std::string_view> webAddressA{};  // written last, after BDAY
  std::optional<std::string_view> webAddressB{};  // written after EMAIL
  std::optional<DateTime> birthday{};
};
// "MECARD:" N TEL TEL-AV EMAIL URL(B) BDAY URL(A), each "key:value;", then ";".
TextBytes MakeMeCard(const MeCardFields& fields);

// The vCard 3.0 fields, in the order the builder takes them.
struct VCardFields {
  std::string_view familyName{};
  std::string_view givenName{};
  std::optional<bool> showAsCompany{};  // X-ABShowAs:COMPANY only when true
  std::optional<std::string_view> tn{};
  std::optional<std::string_view> organisation{};
  std::optional<std::string_view> title{};
  std::optional<std::string_view> workEmail{};
  std::optional<std::string_view> mobileTelephone{};
  std::optional<std::string_view> workTelephone{};
  std::optional<std::string_view> homeTelephone{};
  std::optional<std::string_view> workFax{};
  std::optional<std::string_view> homeFax{};
  std::optional<std::string_view> workAddress{};
  std::optional<std::string_view> homeAddress{};
  std::optional<std::string_view> workWebAddress{};
  std::optional<std::string_view> homeWebAddress{};
  std::optional<DateTime> birthday{};  // written before the web addresses
};
// BEGIN:VCARD ... END:VCARD, lines joined by LF, no LF after the last.
TextBytes MakeVCard(const VCardFields& fields);

}  // namespace varnelo::qr
