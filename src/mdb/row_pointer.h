#pragma once
// A row's address: page number and row number on that page. Rows store it in
// four bytes (row number, then the page number in three bytes little-endian);
// index entries store the page number big-endian before the row number.

#include <compare>
#include <cstdint>

#include "mdb/byte_view.h"

namespace mdb {

struct RowPointer {
  std::uint32_t page = 0;
  std::uint16_t row = 0;
  auto operator<=>(const RowPointer&) const = default;
};

inline RowPointer ReadStoredRowPointer(const ByteView& bytes, std::size_t offset) {
  return RowPointer{bytes.U24(offset + 1), bytes.U8(offset)};
}

inline RowPointer ReadIndexRowPointer(const ByteView& bytes, std::size_t offset) {
  return RowPointer{bytes.U24BigEndian(offset), bytes.U8(offset + 3)};
}

}  // namespace mdb
