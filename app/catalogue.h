// The embedded catalogue of campaign sources and the byte-string splitting
// that reads it. Portable: no platform headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnelo::app {

// Host of the campaign page; every source address is
// "https://" + kCampaignHost + kCampaignPath + the source's code.
inline constexpr std::string_view kCampaignHost = "campaign.example.com";
inline constexpr std::string_view kCampaignPath = "/p/c/17yq18lq3slc?source=";

// The catalogue text in GBK: one line per source, each a display name, a
// comma and the source's campaign page address, each line ended by CR LF.
// Lines are in list order (line n is list item n).
std::string_view SourceCatalogue();

// The campaign page address of a source code (ASCII).
std::string CampaignAddress(std::string_view code);

// Splits double-byte text at every occurrence of separator. A byte with its
// high bit set is taken together with the byte after it, so the trail byte of
// a GBK character is never matched as (part of) a separator. A separator at
// the very end yields no empty last part; empty text yields no parts; an
// empty separator yields the whole text as one part. The parts view `text`.
std::vector<std::string_view> SplitDoubleByte(std::string_view text, std::string_view separator);

struct CatalogueEntry {
  std::string name;     // GBK display name
  std::string address;  // campaign page address
};

// Reads the catalogue: lines at CR LF, each line's first part (at ",") is the
// name and its second part the address. A line without an address (no comma,
// or nothing after it) is skipped, so that entries and addresses stay paired.
std::vector<CatalogueEntry> ParseCatalogue(std::string_view catalogue);

}  // namespace varnelo::app
