#include "mdb/long_value.h"

#include <algorithm>
#include <set>
#include <string>

#include "mdb/data_page.h"
#include "mdb/page_kind.h"
#include "mdb/row_pointer.h"

namespace mdb {
namespace {

constexpr std::uint32_t kKindMask = 0xC0000000;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kSingleRow = 0x40000000;

ByteView LongValueRow(Pager& pager, RowPointer at, std::uint32_t referrer, PageRef& keep) {
  keep = pager.Read(at.page, referrer);
  ByteView page = pager.View(keep, at.page);
  ExpectKind(page, PageKind::kData, "a long-value page");
  RowSlot slot = LocateRow(page, pager.format(), at.row);
  if (slot.deleted) page.Fail("long-value row " + std::to_string(at.row) + " is deleted");
  return page.SubView(slot.start, slot.end - slot.start);
}

}  // namespace

std::vector<std::byte> ReadLongValue(Pager& pager, const ByteView& reference,
                                     std::uint32_t referring_page) {
  std::uint32_t word = reference.U32(0);
  std::uint32_t length = word & ~kKindMask;
  std::uint32_t kind = word & kKindMask;
  if (kind == kInline) {
    if (reference.size() - kLongValueReferenceSize < length) {
      reference.Fail("an inline long value is longer than its row");
    }
    auto data = reference.Slice(kLongValueReferenceSize, length);
    return {data.begin(), data.end()};
  }
  if (kind != kSingleRow && kind != 0) reference.Fail("a long value has an unknown storage kind");
  if (length > std::uint64_t{pager.page_count()} * pager.format().page_size) {
    reference.Fail("a long value claims " + std::to_string(length) +
                   " bytes, more than the file holds");
  }
  RowPointer at = ReadStoredRowPointer(reference, 4);
  PageRef keep;
  if (kind == kSingleRow) {
    ByteView row = LongValueRow(pager, at, referring_page, keep);
    if (row.size() < length) row.Fail("a long value is shorter than its reference says");
    auto data = row.Slice(0, length);
    return {data.begin(), data.end()};
  }
  std::vector<std::byte> out;
  out.reserve(length);
  std::set<RowPointer> visited;
  std::uint32_t referrer = referring_page;
  while (out.size() < length) {
    if (at.page == 0) {
      ThrowCorrupt(Where{pager.file_name(), referrer}, "a long-value chain ends early");
    }
    if (!visited.insert(at).second) {
      ThrowCorrupt(Where{pager.file_name(), at.page}, "a long-value chain loops");
    }
    ByteView row = LongValueRow(pager, at, referrer, keep);
    if (row.size() < 4) row.Fail("a long-value chain row lacks its next pointer");
    RowPointer next = ReadStoredRowPointer(row, 0);
    std::size_t chunk = std::min<std::size_t>(row.size() - 4, length - out.size());
    auto data = row.Slice(4, chunk);
    out.insert(out.end(), data.begin(), data.end());
    referrer = at.page;
    at = next;
  }
  return out;
}

}  // namespace mdb
