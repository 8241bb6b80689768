#include "app/catalogue.h"

#include <array>
#include <cstddef>

namespace varnelo::app {
namespace {

constexpr std::string_view kScheme = "https://";

struct SourceLine {
  std::string_view nameGbk;  // display name, GBK bytes
  std::string_view code;     // ASCII source code, ends the address
};

// Made at build time from source_catalogue.txt.
constexpr SourceLine kSourceLines[] = {
#include "app/source_lines.inc"
};

constexpr std::size_t CatalogueLength() {
  std::size_t length = 0;
  for (const SourceLine& line : kSourceLines) {
    length += line.nameGbk.size() + 1 + kScheme.size() + kCampaignHost.size() + kCampaignPath.size() +
              line.code.size() + 2;
  }
  return length;
}

// The catalogue is assembled by the compiler, so the host stays a single
// constant and the text is still one embedded block of bytes.
constexpr std::array<char, CatalogueLength()> BuildCatalogue() {
  std::array<char, CatalogueLength()> text{};
  std::size_t at = 0;
  auto put = [&](std::string_view part) {
    for (char c : part) text[at++] = c;
  };
  for (const SourceLine& line : kSourceLines) {
    put(line.nameGbk);
    put(",");
    put(kScheme);
    put(kCampaignHost);
    put(kCampaignPath);
    put(line.code);
    put("\r\n");
  }
  return text;
}

constexpr std::array<char, CatalogueLength()> kSourceCatalogue = BuildCatalogue();

}  // namespace

std::string_view SourceCatalogue() { return {kSourceCatalogue.data(), kSourceCatalogue.size()}; }

std::string CampaignAddress(std::string_view code) {
  std::string address;
  address.reserve(kScheme.size() + kCampaignHost.size() + kCampaignPath.size() + code.size());
  address.append(kScheme).append(kCampaignHost).append(kCampaignPath).append(code);
  return address;
}

std::vector<std::string_view> SplitDoubleByte(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.push_back(text);
    return parts;
  }
  std::size_t start = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.substr(at, separator.size()) == separator) {
      parts.push_back(text.substr(start, at - start));
      at += separator.size();
      start = at;
    } else if (static_cast<unsigned char>(text[at]) & 0x80) {
      // A lead byte: skip its trail byte too, but never past the end.
      at += at + 1 < text.size() ? 2 : 1;
    } else {
      ++at;
    }
  }
  if (start < text.size()) parts.push_back(text.substr(start));
  return parts;
}

std::vector<CatalogueEntry> ParseCatalogue(std::string_view catalogue) {
  std::vector<CatalogueEntry> entries;
  for (std::string_view line : SplitDoubleByte(catalogue, "\r\n")) {
    std::vector<std::string_view> parts = SplitDoubleByte(line, ",");
    if (parts.size() < 2 || parts[1].empty()) continue;
    entries.push_back({std::string(parts[0]), std::string(parts[1])});
  }
  return entries;
}

}  // namespace varnelo::app
