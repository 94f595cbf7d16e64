#pragma once
// The kind of a page, from its first byte.

#include <cstdint>
#include <string>

#include "mdb/byte_view.h"

namespace mdb {

enum class PageKind : std::uint8_t {
  kDatabaseHeader = 0x00,
  kData = 0x01,
  kTableDefinition = 0x02,
  kIndexNode = 0x03,
  kIndexLeaf = 0x04,
  kUsageMap = 0x05,
};

inline PageKind KindOf(const ByteView& page) {
  return static_cast<PageKind>(page.U8(0));
}

// Refuses a page that is not of the expected kind.
inline void ExpectKind(const ByteView& page, PageKind kind, std::string_view role) {
  if (KindOf(page) != kind) {
    page.Fail("expected " + std::string(role) + " (page type " +
              std::to_string(static_cast<int>(kind)) + ") but found page type " +
              std::to_string(page.U8(0)));
  }
}

}  // namespace mdb
