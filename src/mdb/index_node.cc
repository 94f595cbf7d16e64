#include "mdb/index_node.h"

#include <algorithm>

#include "mdb/page_kind.h"

namespace mdb {

namespace {

constexpr std::size_t kTablePageOffset = 4;
constexpr std::size_t kRowPointerSize = 4;
constexpr std::size_t kChildPointerSize = 4;

IndexEntry MakeEntry(std::vector<std::byte> full, bool leaf, const ByteView& page) {
  const std::size_t pointers = kRowPointerSize + (leaf ? 0 : kChildPointerSize);
  if (full.size() < pointers) page.Fail("an index entry is shorter than its row pointer");
  const ByteView view(full, page.where());
  const std::size_t key_size = full.size() - pointers;
  IndexEntry entry;
  entry.row = ReadIndexRowPointer(view, key_size);
  if (!leaf) entry.child = view.U32BigEndian(key_size + kRowPointerSize);
  full.resize(key_size);
  entry.key = std::move(full);
  return entry;
}

// Whole entries (key and pointers) must rise strictly, as Jet sorts them.
bool Rises(const std::vector<std::byte>& before, const std::vector<std::byte>& after) {
  return std::lexicographical_compare(before.begin(), before.end(), after.begin(), after.end());
}

}  // namespace

IndexNode ParseIndexNode(const ByteView& page, const Format& format) {
  IndexNode node;
  node.page = page.where().page;
  const PageKind kind = KindOf(page);
  if (kind != PageKind::kIndexNode && kind != PageKind::kIndexLeaf)
    page.Fail("the page is no index page");
  node.leaf = kind == PageKind::kIndexLeaf;
  node.table_page = page.U32(kTablePageOffset);
  node.prev = page.U32(format.index_prev_page);
  node.next = page.U32(format.index_next_page);
  node.tail = page.U32(format.index_tail_page);
  // Jet 4 keeps the shared prefix length in two bytes; Jet 3 in one (the
  // byte after it is set on some pages and means something else).
  node.prefix_length =
      format.jet4() ? page.U16(format.index_prefix_length) : page.U8(format.index_prefix_length);

  const std::size_t first = format.index_first_entry();
  std::vector<std::byte> prefix, previous;
  std::size_t last_end = 0;
  for (std::size_t i = 0; i < format.index_entry_mask_length; ++i) {
    const std::uint8_t bits = page.U8(format.index_entry_mask + i);
    for (unsigned bit = 0; bit < 8 && bits != 0; ++bit) {
      if ((bits & (1u << bit)) == 0) continue;
      const std::size_t end = i * 8 + bit;
      const std::span<const std::byte> stored = page.Slice(first + last_end, end - last_end);
      std::vector<std::byte> full;
      if (node.entries.empty()) {
        if (node.prefix_length > stored.size())
          page.Fail("the shared index prefix is longer than the first entry");
        prefix.assign(stored.begin(), stored.begin() + node.prefix_length);
      } else {
        full = prefix;
      }
      full.insert(full.end(), stored.begin(), stored.end());
      if (!node.entries.empty() && !Rises(previous, full))
        page.Fail("index entries are out of order");
      previous = full;
      node.entries.push_back(MakeEntry(std::move(full), node.leaf, page));
      last_end = end;
    }
  }
  return node;
}

}  // namespace mdb
