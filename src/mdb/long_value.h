#pragma once
// Memo and OLE data. The row holds a 12-byte reference: the length (its top
// two bits the storage kind), a row pointer and four unused bytes. The data
// is inline after the reference (0x80), one row of another page (0x40), or a
// chain of rows each starting with the pointer to the next (0x00).

#include <cstddef>
#include <span>
#include <vector>

#include "mdb/pager.h"

namespace mdb {

inline constexpr std::size_t kLongValueReferenceSize = 12;

// The data of a reference found in a row of referring_page.
std::vector<std::byte> ReadLongValue(Pager& pager, const ByteView& reference,
                                     std::uint32_t referring_page);

}  // namespace mdb
