#include "mdb/usage_map.h"

#include <string>

#include "mdb/data_page.h"
#include "mdb/page_kind.h"

namespace mdb {
namespace {

void AddBits(std::span<const std::byte> bitmap, std::uint64_t first_page, std::uint32_t page_count,
             std::vector<std::uint32_t>& pages) {
  for (std::size_t i = 0; i < bitmap.size(); ++i) {
    auto bits = static_cast<std::uint8_t>(bitmap[i]);
    for (int bit = 0; bits != 0 && bit < 8; ++bit) {
      if ((bits & (1u << bit)) == 0) continue;
      std::uint64_t page = first_page + i * 8 + static_cast<std::uint64_t>(bit);
      if (page < page_count) pages.push_back(static_cast<std::uint32_t>(page));
    }
  }
}

}  // namespace

UsageMap ReadUsageMap(Pager& pager, RowPointer location, std::uint32_t referring_page) {
  const Format& format = pager.format();
  PageRef buffer = pager.Read(location.page, referring_page);
  ByteView page = pager.View(buffer, location.page);
  ExpectKind(page, PageKind::kData, "the data page holding a usage map");
  RowSlot slot = LocateRow(page, format, location.row);
  if (slot.deleted || slot.end - slot.start < 1) page.Fail("the usage map row is missing");
  ByteView row = page.SubView(slot.start, slot.end - slot.start);

  UsageMap map;
  map.location = location;
  std::uint8_t kind = row.U8(0);
  if (kind == 0) {
    map.kind = UsageMapKind::kInline;
    std::uint32_t first = row.U32(1);
    AddBits(row.Slice(5, row.size() - 5), first, pager.page_count(), map.pages);
  } else if (kind == 1) {
    map.kind = UsageMapKind::kReference;
    const std::uint64_t pages_per_map = (std::uint64_t{format.page_size} - 4) * 8;
    for (std::size_t i = 0; 1 + i * 4 + 4 <= row.size(); ++i) {
      std::uint32_t map_page = row.U32(1 + i * 4);
      if (map_page == 0) continue;
      PageRef map_buffer = pager.Read(map_page, location.page);
      ByteView bitmap = pager.View(map_buffer, map_page);
      ExpectKind(bitmap, PageKind::kUsageMap, "a usage-map page");
      AddBits(bitmap.Slice(4, bitmap.size() - 4), i * pages_per_map, pager.page_count(), map.pages);
    }
  } else {
    page.Fail("usage map of unknown type " + std::to_string(kind));
  }
  return map;
}

}  // namespace mdb
