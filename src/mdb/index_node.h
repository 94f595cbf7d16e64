#pragma once
// One page of an index B-tree: intermediate (kind 3) or leaf (kind 4).
// Entries lie after a bitmap whose set bits mark where each one ends; every
// entry after the first leaves out the prefix it shares with the first one
// (the page header says how long that prefix is). An entry is the key bytes
// (which sort as they stand), the row pointer (page big-endian in three
// bytes, then the row) and, on intermediate pages, the big-endian child page.
// The parse keeps the entry structure so that the write half can re-pack it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "mdb/byte_view.h"
#include "mdb/format.h"
#include "mdb/row_pointer.h"

namespace mdb {

struct IndexEntry {
  std::vector<std::byte> key;  // the full key, shared prefix included
  RowPointer row;
  std::uint32_t child = 0;  // intermediate pages only
};

struct IndexNode {
  std::uint32_t page = 0;
  bool leaf = false;
  std::uint32_t table_page = 0;  // the table definition the index belongs to
  std::uint32_t prev = 0;
  std::uint32_t next = 0;
  std::uint32_t tail = 0;  // intermediate pages: the child after the last entry
  std::uint16_t prefix_length = 0;
  std::vector<IndexEntry> entries;
};

// Parses an index page (kind 3 or 4); any entry that does not fit, or
// entries that do not rise in key order, are damage of the page.
IndexNode ParseIndexNode(const ByteView& page, const Format& format);

}  // namespace mdb
