#pragma once
// Walks an index B-tree in key order: down the first entries to the leftmost
// leaf, then along the chain of leaf pages (which also reaches the tail leaf
// that Jet appends without updating the tree). Every page is checked to be
// an index page of the same table; a page met twice, or a tree deeper than
// any real one, is damage.

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "mdb/index_node.h"
#include "mdb/pager.h"

namespace mdb {

class IndexCursor {
 public:
  // `root` is the index's root page; `table_page` its table definition page.
  IndexCursor(Pager& pager, std::uint32_t root, std::uint32_t table_page);

  // The next entry in key order, or nullopt after the last.
  std::optional<IndexEntry> Next();

 private:
  void DescendToFirstLeaf(std::uint32_t page, std::uint32_t referrer);
  IndexNode Load(std::uint32_t page, std::uint32_t referrer);

  Pager& pager_;
  std::uint32_t table_page_;
  std::set<std::uint32_t> visited_;
  std::optional<IndexNode> leaf_;
  std::size_t position_ = 0;
};

// Every entry of the index, in key order.
std::vector<IndexEntry> WalkIndex(Pager& pager, std::uint32_t root, std::uint32_t table_page);

}  // namespace mdb
