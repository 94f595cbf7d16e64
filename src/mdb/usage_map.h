#pragma once
// Usage maps: bitmaps of the pages a table (or index) owns. A map is a row
// on a data page, either inline (type 0: first page, then the bitmap) or by
// reference (type 1: numbers of usage-map pages, each a bitmap of its own).

#include <cstdint>
#include <vector>

#include "mdb/pager.h"
#include "mdb/row_pointer.h"

namespace mdb {

enum class UsageMapKind : std::uint8_t { kInline = 0, kReference = 1 };

struct UsageMap {
  UsageMapKind kind = UsageMapKind::kInline;
  RowPointer location;
  std::vector<std::uint32_t> pages;  // ascending
};

// Reads the map stored at the row location; referring_page names the page
// that pointed to it (for error messages).
UsageMap ReadUsageMap(Pager& pager, RowPointer location, std::uint32_t referring_page);

}  // namespace mdb
