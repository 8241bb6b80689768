#include "app/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace varnelo::app {
namespace {

using Parts = std::vector<std::string_view>;

// GBK display names, byte for byte.
constexpr std::string_view kFirstName = "\xcc\xec\xc3\xa8\xbe\xab\xc1\xe9";   // 天猫精灵
constexpr std::string_view kName22 = "\xbf\xaa\xc6\xc1\xd0\xc2\xce\xc5";      // 开屏新闻
constexpr std::string_view kLastName = "\xca\xe9\xc6\xec\xd0\xa1\xcb\xb5";    // 书旗小说

TEST(SourceCatalogue, HoldsFiftyTwoCrLfLinesOfNameCommaAddress) {
  const std::string_view text = SourceCatalogue();
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, 52u);
  EXPECT_EQ(text.find('\0'), std::string_view::npos);
  EXPECT_EQ(text.find("\n\r"), std::string_view::npos);  // no empty line
}

TEST(SourceCatalogue, ParsesIntoFiftyTwoEntriesInListOrder) {
  const std::vector<CatalogueEntry> entries = ParseCatalogue(SourceCatalogue());
  ASSERT_EQ(entries.size(), 52u);
  EXPECT_EQ(entries[0].name, kFirstName);
  EXPECT_EQ(entries[0].address, "https://campaign.example.com/p/c/17yq18lq3slc?source=JING_LING");
  EXPECT_EQ(entries[21].name, kName22);
  EXPECT_EQ(entries[21].address, "https://campaign.example.com/p/c/17yq18lq3slc?source=CHUNCHENG_WANBAO");
  EXPECT_EQ(entries[51].name, kLastName);
  EXPECT_EQ(entries[51].address, "https://campaign.example.com/p/c/17yq18lq3slc?source=SHU_QI");

  const std::string prefix = CampaignAddress("");
  std::vector<std::string> seen;
  for (const CatalogueEntry& entry : entries) {
    SCOPED_TRACE(entry.address);
    EXPECT_FALSE(entry.name.empty());
    EXPECT_EQ(entry.name.find(','), std::string::npos);
    ASSERT_GT(entry.address.size(), prefix.size());
    EXPECT_EQ(entry.address.compare(0, prefix.size(), prefix), 0);
    EXPECT_EQ(entry.address.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", prefix.size()),
              std::string::npos);
    // Every name is whole GBK characters: lead bytes 0x81..0xFE, each with a
    // trail byte 0x40..0xFE other than 0x7F; ASCII between them.
    for (std::size_t i = 0; i < entry.name.size(); ++i) {
      const auto lead = static_cast<unsigned char>(entry.name[i]);
      if (lead < 0x80) continue;
      ASSERT_GE(lead, 0x81);
      ASSERT_LT(i + 1, entry.name.size());
      const auto trail = static_cast<unsigned char>(entry.name[++i]);
      EXPECT_TRUE(trail >= 0x40 && trail <= 0xFE && trail != 0x7F);
    }
    seen.push_back(entry.address);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "two entries share an address";
}

TEST(SplitDoubleByte, SplitsAtSeparatorsOutsideDoubleByteCharacters) {
  struct Case {
    std::string_view text;
    std::string_view separator;
    Parts parts;
  };
  const Case cases[] = {
      {"a,b", ",", {"a", "b"}},
      {"a,b,", ",", {"a", "b"}},  // a final separator adds no empty part
      {"", ",", {}},
      {",", ",", {""}},
      {",a", ",", {"", "a"}},
      {"a,,b", ",", {"a", "", "b"}},
      {"abc", ",", {"abc"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"a\r\n\r\nb", "\r\n", {"a", "", "b"}},
      {"a\rb\nc", "\r\n", {"a\rb\nc"}},
      // 0x81 0x40 is one GBK character whose trail byte is '@': no split in it.
      {"\x81@x@y", "@", {"\x81@x", "y"}},
      {"\x81@@", "@", {"\x81@"}},
      // A lead byte takes the byte after it, even a separator.
      {"a\x81,b", ",", {"a\x81,b"}},
      // A lead byte at the very end stays in the last part.
      {"a,b\x81", ",", {"a", "b\x81"}},
      {"\xff", ",", {"\xff"}},
      {"a,b", "", {"a,b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " | " + std::string(c.separator));
    EXPECT_EQ(SplitDoubleByte(c.text, c.separator), c.parts);
  }
}

TEST(ParseCatalogue, SkipsLinesWithoutAnAddress) {
  const std::string_view text =
      "no comma\r\n"
      "first,https://a\r\n"
      "empty address,\r\n"
      "\r\n"
      ",https://nameless\r\n"
      "three,https://b,extra\r\n"
      "\xbf\xaa,https://gbk\r\n"
      "last,https://c";  // no final CR LF
  const std::vector<CatalogueEntry> entries = ParseCatalogue(text);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].name, "first");
  EXPECT_EQ(entries[0].address, "https://a");
  EXPECT_EQ(entries[1].name, "");
  EXPECT_EQ(entries[1].address, "https://nameless");
  EXPECT_EQ(entries[2].address, "https://b");
  EXPECT_EQ(entries[3].name, "\xbf\xaa");
  EXPECT_EQ(entries[3].address, "https://gbk");
  EXPECT_EQ(entries[4].address, "https://c");
  EXPECT_TRUE(ParseCatalogue("").empty());
  EXPECT_TRUE(ParseCatalogue("\r\n\r\n").empty());
}

}  // namespace
}  // namespace varnelo::app
