#include "mdb/data_page.h"

#include <string>

namespace mdb {

std::uint16_t DataPageRowCount(const ByteView& page, const Format& format) {
  std::uint16_t count = page.U16(format.data_row_count);
  if (format.data_row_table + std::size_t{count} * 2 > page.size()) {
    page.Fail("the row table of " + std::to_string(count) + " rows does not fit the page");
  }
  return count;
}

RowSlot LocateRow(const ByteView& page, const Format& format, std::uint16_t row,
                  bool check_deleted) {
  std::uint16_t count = DataPageRowCount(page, format);
  if (row >= count) {
    page.Fail("row " + std::to_string(row) + " is asked for but the page holds " +
              std::to_string(count) + " rows");
  }
  std::uint16_t raw = page.U16(format.data_row_table + std::size_t{row} * 2);
  RowSlot slot;
  slot.deleted = (raw & kRowDeletedFlag) != 0;
  slot.overflow = (raw & kRowOverflowFlag) != 0;
  slot.start = raw & kRowOffsetMask;
  slot.end =
      row == 0 ? static_cast<std::uint16_t>(page.size())
               : static_cast<std::uint16_t>(
                     page.U16(format.data_row_table + (std::size_t{row} - 1) * 2) & kRowOffsetMask);
  std::size_t table_end = format.data_row_table + std::size_t{count} * 2;
  if (slot.deleted && !check_deleted) return slot;  // its bounds are not read
  if (slot.start < table_end || slot.start > slot.end || slot.end > page.size()) {
    page.Fail("row " + std::to_string(row) + " lies at " + std::to_string(slot.start) + ".." +
              std::to_string(slot.end) + ", outside the page's row area");
  }
  return slot;
}

}  // namespace mdb
