#include "mdb/index_cursor.h"

#include <string>

#include "mdb/page_kind.h"

namespace mdb {

namespace {
constexpr int kMaxDepth = 32;
}

IndexCursor::IndexCursor(Pager& pager, std::uint32_t root, std::uint32_t table_page)
    : pager_(pager), table_page_(table_page) {
  DescendToFirstLeaf(root, table_page);
}

IndexNode IndexCursor::Load(std::uint32_t page, std::uint32_t referrer) {
  const Where where{pager_.file_name(), referrer};
  if (page == 0) ThrowCorrupt(where, "an index points to the database header page");
  if (!visited_.insert(page).second)
    ThrowCorrupt(where, "the index leads back to page " + std::to_string(page));
  const PageRef buffer = pager_.Read(page, referrer);
  IndexNode node = ParseIndexNode(pager_.View(buffer, page), pager_.format());
  if (node.table_page != table_page_)
    ThrowCorrupt(Where{pager_.file_name(), page}, "the index page belongs to another table");
  return node;
}

void IndexCursor::DescendToFirstLeaf(std::uint32_t page, std::uint32_t referrer) {
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    if (page == 0) return;
    // An index of a table too small for a tree has its (empty) root on a data page.
    if (depth == 0) {
      const PageRef root = pager_.Read(page, referrer);
      if (KindOf(pager_.View(root, page)) == PageKind::kData) return;
    }
    IndexNode node = Load(page, referrer);
    if (node.leaf) {
      leaf_ = std::move(node);
      position_ = 0;
      return;
    }
    referrer = page;
    page = node.entries.empty() ? node.tail : node.entries.front().child;
  }
  ThrowCorrupt(Where{pager_.file_name(), page}, "the index tree is deeper than any real one");
}

std::optional<IndexEntry> IndexCursor::Next() {
  while (leaf_) {
    if (position_ < leaf_->entries.size()) return leaf_->entries[position_++];
    const std::uint32_t next = leaf_->next, from = leaf_->page;
    leaf_.reset();
    if (next == 0) break;
    IndexNode node = Load(next, from);
    if (!node.leaf)
      ThrowCorrupt(Where{pager_.file_name(), next}, "a leaf page is followed by no leaf");
    leaf_ = std::move(node);
    position_ = 0;
  }
  return std::nullopt;
}

std::vector<IndexEntry> WalkIndex(Pager& pager, std::uint32_t root, std::uint32_t table_page) {
  std::vector<IndexEntry> entries;
  IndexCursor cursor(pager, root, table_page);
  while (auto entry = cursor.Next()) entries.push_back(std::move(*entry));
  return entries;
}

}  // namespace mdb
