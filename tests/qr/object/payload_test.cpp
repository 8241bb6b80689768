// The payload builders and their escaping, as one table of inputs and texts.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "qr/object/payload.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace varnelo::qr {
namespace {

// 2024-02-03 as a day count, and a time of day in days.
constexpr DateTime kFeb3 = 45325.0;
constexpr DateTime At(int hour, int minute, int second) {
  return (hour * 3600 + minute * 60 + second) / 86400.0;
}

TEST(EscapePayloadText, BackslashFirstThenTheSeparators) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"a\\b;c,d:e", "a\\\\b\\;c\\,d\\:e"},
      {"", ""},
      {"plain text 123", "plain text 123"},
      {"say \"hi\"", "say \\\"hi\\\""},
      {"\\;", "\\\\\\;"},
      {"\\\\", "\\\\\\\\"},
      {"line\nbreak%20'", "line\nbreak%20'"},
      {"\xE7\xA6\x8F:", "\xE7\xA6\x8F\\:"},  // UTF-8 bytes pass unchanged
  };
  for (const auto& c : cases) EXPECT_EQ(EscapePayloadText(c.in), c.out) << c.in;
}

#ifdef _WIN32
// In the GBK code page the trail byte of a double-byte character can be 0x5C;
// escaping it would split the character.
TEST(EscapePayloadText, LeavesDoubleByteCharactersWhole) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run in the GBK locale";
  EXPECT_EQ(EscapePayloadText("\x81\x5C;"), "\x81\x5C\\;");
  EXPECT_EQ(EscapePayloadText("\x81\x5C\\"), "\x81\x5C\\\\");
  // A lead byte without a trail byte after it: the next byte is escaped.
  EXPECT_EQ(EscapePayloadText("\x81:"), "\x81\\:");
  EXPECT_EQ(EscapePayloadText("a\x81"), "a\x81");
}
#endif

TEST(PayloadBuilders, Texts) {
  const struct {
    std::string built;
    const char* expected;
  } cases[] = {
      {MakeMailto("a:b@c.d"), "mailto:a\\:b@c.d"},
      {MakeSmtp("x", std::nullopt, "y"), "SMTP:x::y"},
      {MakeSmtp("x", "s"), "SMTP:x:s"},
      {MakeSmtp("x"), "SMTP:x"},
      {MakeSmtp("x", "s", "y"), "SMTP:x:s:y"},
      {MakeSmtp("a;b", "s:t", "u,v"), "SMTP:a\\;b:s\\:t:u\\,v"},
      {MakeSmtp("x", "", ""), "SMTP:x::"},
      {MakeTel("+1;2"), "tel:+1\\;2"},
      {MakeSmsTo("123"), "smsto:123"},
      {MakeSmsTo("123", "hi, you"), "smsto:123:hi\\, you"},
      {MakeSmsTo("123", ""), "smsto:123:"},
      {MakeMmsTo("1"), "mmsto:1"},
      {MakeMmsTo("1", "m:n"), "mmsto:1:m\\:n"},
      {MakeGeo("40.7", "-74.0"), "geo:40.7,-74.0"},
      {MakeGeo("1", "2", "3;x"), "geo:1,2,3;x"},
      {MakeGoogleMapsLink("1.5", "2.5", "Home"),
       "http://maps.google.com/maps?f=q&q=1.5%2C2.5+%28Home%29"},
      {MakeBingMapsLink("1.5", "2.5"),
       "http://www.bing.com/maps/?v=2&cp=1.5~2.5&lvl=16&dir=0&sty=r"},
      {MakeMarketDetails("com.x:y"), "market://details?id=com.x\\:y"},
      {MakeMarketSearch("a b"), "market://search?q=a+b"},
      {MakeMarketSearch("a, b"), "market://search?q=a\\,+b"},
      {MakeAppStoreLink(284417350), "itms://itunes.apple.com/app/id284417350"},
      {MakeAppStoreLink(-5), "itms://itunes.apple.com/app/id-5"},
      {MakeAppStoreLink(INT_MIN), "itms://itunes.apple.com/app/id-2147483648"},
      {MakeUrlTo("a:b;c"), "urlto:a:b;c"},
      {MakeFoursquareVenue("4b5"), "http://foursquare.com/v/4b5"},
      {MakeBookmark("T;1", "http://x"), "MEBKM:TITLE:T\\;1;URL:http\\://x;;"},
      {MakeBookmark("", ""), "MEBKM:TITLE:;URL:;;"},
      {MakeWifi("N", std::nullopt, "P"), "WIFI:S:N;T:nopass;;"},
      {MakeWifi("N", false, "P"), "WIFI:S:N;T:WPA;P:P;;"},
      {MakeWifi("N", false, "P", true), "WIFI:S:N;H:True;T:WPA;P:P;;"},
      {MakeWifi("N", true, ""), "WIFI:S:N;T:WEP;P:;;"},
      {MakeWifi("N;x", std::nullopt, "ignored", false), "WIFI:S:N\\;x;H:False;T:nopass;;"},
      {MakeWifi("N", true, "p\"w:"), "WIFI:S:N;T:WEP;P:p\\\"w\\:;;"},
      {MakeYoutube("a:b"), "youtube://a\\:b"},
      {MakeFacebookLink("page"), "http://www.facebook.com/page"},
      {MakeTwitterLink("user"), "http://twitter.com/user"},
      {MakeTwitterStatus("hello big, world"), "http://twitter.com/home?status=hello+big,+world"},
      {MakeBbm("a", "b", "c"), "bbm://c00000000a b"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(PayloadBuilders, Event) {
  EXPECT_EQ(MakeEvent("Meet; up", kFeb3 + At(14, 5, 9), kFeb3 + At(15, 30, 0)),
            "BEGIN:VEVENT\nSUMMARY:Meet\\; up\nDTSTART:20240203T140509\nDTEND:20240203T153000\n"
            "END:VEVENT");
  EXPECT_EQ(MakeEvent("S", kFeb3 + At(23, 59, 59), kFeb3 - 1, "Room 1", "a,b"),
            "BEGIN:VEVENT\nSUMMARY:S\nLOCATION:Room 1\nDESCRIPTION:a\\,b\n"
            "DTSTART:20240203T235959\nDTEND:20240202T000000\nEND:VEVENT");
  EXPECT_EQ(MakeEvent("S", kFeb3, kFeb3, std::nullopt, ""),
            "BEGIN:VEVENT\nSUMMARY:S\nDESCRIPTION:\nDTSTART:20240203T000000\n"
            "DTEND:20240203T000000\nEND:VEVENT");
}

TEST(PayloadBuilders, MeCardFieldOrder) {
  EXPECT_EQ(MakeMeCard({.namePart1 = "a", .namePart2 = "b"}), "MECARD:N:a,b;;");
  EXPECT_EQ(MakeMeCard({.namePart1 = "Doe",
                        .namePart2 = "J,R",
                        .email = "j@x",
                        .telephone = "1",
                        .videoTelephone = "2",
                        .webAddressA = "http://a",
                        .webAddressB = "http://b",
                        .birthday = kFeb3 + At(12, 0, 0)}),
            "MECARD:N:Doe,J\\,R;TEL:1;TEL-AV:2;EMAIL:j@x;URL:http\\://b;BDAY:20240203;"
            "URL:http\\://a;;");
  EXPECT_EQ(MakeMeCard({.namePart1 = "a", .namePart2 = "b", .webAddressA = "u"}),
            "MECARD:N:a,b;URL:u;;");
}

TEST(PayloadBuilders, VCardLineOrder) {
  EXPECT_EQ(MakeVCard({.familyName = "a", .givenName = "b"}),
            "BEGIN:VCARD\nVERSION:3.0\nN:a;b;;\nEND:VCARD");
  EXPECT_EQ(MakeVCard({.familyName = "a", .givenName = "b", .showAsCompany = false}),
            "BEGIN:VCARD\nVERSION:3.0\nN:a;b;;\nEND:VCARD");
  EXPECT_EQ(MakeVCard({.familyName = "Doe;",
                       .givenName = "John",
                       .showAsCompany = true,
                       .tn = "t",
                       .organisation = "Org, Inc.",
                       .title = "Boss",
                       .workEmail = "j@w",
                       .mobileTelephone = "1",
                       .workTelephone = "2",
                       .homeTelephone = "3",
                       .workFax = "4",
                       .homeFax = "5",
                       .workAddress = "1 Road; Town",
                       .homeAddress = "2 Lane",
                       .workWebAddress = "http://w",
                       .homeWebAddress = "http://h",
                       .birthday = 2.0}),
            "BEGIN:VCARD\n"
            "VERSION:3.0\n"
            "N:Doe\\;;John;;\n"
            "X-ABShowAs:COMPANY\n"
            "TN:t\n"
            "ORG:Org\\, Inc.\n"
            "TITLE:Boss\n"
            "EMAIL;type=INTERNET;type=WORK:j@w\n"
            "TEL;type=CELL:1\n"
            "TEL;type=WORK:2\n"
            "TEL;type=HOME:3\n"
            "TEL;type=WORK,FAX:4\n"
            "TEL;type=HOME,FAX:5\n"
            "ADR;type=WORK:1 Road\\; Town\n"
            "ADR;type=HOME:2 Lane\n"
            "BDAY;value=date:1900-01-01\n"
            "URL;type=WORK:http\\://w\n"
            "URL;type=HOME:http\\://h\n"
            "END:VCARD");
}

}  // namespace
}  // namespace varnelo::qr
