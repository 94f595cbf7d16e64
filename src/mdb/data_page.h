#pragma once
// The row table of a data page (also of long-value pages): where each row
// lies and whether it is deleted or an overflow pointer. Rows are stored from
// the end of the page towards its start; row i ends where row i-1 begins.

#include <cstdint>
#include <vector>

#include "mdb/byte_view.h"
#include "mdb/format.h"

namespace mdb {

inline constexpr std::uint16_t kRowDeletedFlag = 0x8000;
inline constexpr std::uint16_t kRowOverflowFlag = 0x4000;
inline constexpr std::uint16_t kRowOffsetMask = 0x1FFF;

struct RowSlot {
  std::uint16_t start = 0;
  std::uint16_t end = 0;  // one past the last byte
  bool deleted = false;
  bool overflow = false;  // the row holds a pointer to the row's real place
};

// The table-definition page the data page belongs to.
inline std::uint32_t DataPageOwner(const ByteView& page) {
  return page.U32(4);
}

std::uint16_t DataPageRowCount(const ByteView& page, const Format& format);

// The slot of one row, checked against the page and the row table (a deleted
// row only when check_deleted: overflow targets are flagged deleted).
RowSlot LocateRow(const ByteView& page, const Format& format, std::uint16_t row,
                  bool check_deleted = false);

}  // namespace mdb
