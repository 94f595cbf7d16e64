#include "mdb/table_scan.h"

#include <string>

#include "mdb/data_page.h"
#include "mdb/page_kind.h"
#include "mdb/usage_map.h"

namespace mdb {
namespace {

constexpr int kMaxOverflowHops = 8;

}  // namespace

std::optional<ByteView> ResolveRow(Pager& pager, RowPointer at, std::uint32_t referring_page,
                                   PageRef& keep) {
  bool first = true;
  for (int hop = 0; hop <= kMaxOverflowHops; ++hop) {
    keep = pager.Read(at.page, referring_page);
    ByteView page = pager.View(keep, at.page);
    ExpectKind(page, PageKind::kData, "a data page");
    // Overflow targets are always flagged deleted; only the first flag counts.
    RowSlot slot = LocateRow(page, pager.format(), at.row, !first);
    if (first && slot.deleted) return std::nullopt;
    ByteView row = page.SubView(slot.start, slot.end - slot.start);
    if (!slot.overflow) return row;
    if (row.size() < 4) row.Fail("an overflow row pointer is shorter than 4 bytes");
    referring_page = at.page;
    at = ReadStoredRowPointer(row, 0);
    first = false;
  }
  ThrowCorrupt(Where{pager.file_name(), at.page}, "overflow rows point on and on");
}

void ScanRows(Pager& pager, const TableDefinition& table, const RowVisitor& visit) {
  UsageMap owned = ReadUsageMap(pager, table.owned_pages, table.page);
  for (std::uint32_t number : owned.pages) {
    PageRef buffer = pager.Read(number, table.page);
    ByteView page = pager.View(buffer, number);
    if (KindOf(page) != PageKind::kData || DataPageOwner(page) != table.page) continue;
    std::uint16_t count = DataPageRowCount(page, pager.format());
    for (std::uint16_t r = 0; r < count; ++r) {
      PageRef keep;
      RowPointer at{number, r};
      std::optional<ByteView> row = ResolveRow(pager, at, number, keep);
      if (row) visit(at, *row);
    }
  }
}

}  // namespace mdb
