#pragma once
// The keys that Access wrote: every entry of every leaf page (kind 4) of a
// database file, collected without the row pointer that ends each entry.
// Used to prove the key encoder against real files; knows only the leaf page
// layout.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

namespace testsupport {

using KeyBytes = std::vector<std::uint8_t>;

struct AccessLeafKeys {
  bool jet3 = false;
  std::set<KeyBytes> keys;
};

namespace leaf_detail {

struct LeafLayout {
  std::size_t page_size;
  std::size_t prefix_length_at;  // little-endian 16 bits
  std::size_t mask_at;           // bit i set: an entry ends at byte i
  std::size_t mask_size;
};
constexpr LeafLayout kJet3Leaf{2048, 20, 22, 226};
constexpr LeafLayout kJet4Leaf{4096, 24, 27, 453};
constexpr std::uint8_t kLeafPageKind = 0x04;
constexpr std::size_t kVersionAt = 0x14;  // 0 for Jet 3
constexpr std::size_t kRowPointerSize = 4;

inline void CollectLeaf(const std::uint8_t* page, const LeafLayout& layout,
                        std::set<KeyBytes>& keys) {
  const std::size_t prefix_length =
      page[layout.prefix_length_at] | page[layout.prefix_length_at + 1] << 8;
  const std::uint8_t* entries = page + layout.mask_at + layout.mask_size;
  KeyBytes prefix;
  std::size_t start = 0;
  for (std::size_t bit = 0; bit < layout.mask_size * 8; ++bit) {
    if ((page[layout.mask_at + bit / 8] & (1u << (bit % 8))) == 0) continue;
    if (layout.mask_at + layout.mask_size + bit > layout.page_size) break;
    KeyBytes entry = prefix;
    entry.insert(entry.end(), entries + start, entries + bit);
    if (start == 0)
      prefix.assign(entry.begin(), entry.begin() + std::min(prefix_length, entry.size()));
    start = bit;
    if (entry.size() >= kRowPointerSize)
      keys.insert(KeyBytes(entry.begin(), entry.end() - kRowPointerSize));
  }
}

}  // namespace leaf_detail

inline AccessLeafKeys ReadAccessLeafKeys(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file.string());
  const KeyBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  AccessLeafKeys result;
  if (bytes.size() <= leaf_detail::kVersionAt) return result;
  result.jet3 = bytes[leaf_detail::kVersionAt] == 0;
  const auto& layout = result.jet3 ? leaf_detail::kJet3Leaf : leaf_detail::kJet4Leaf;
  for (std::size_t at = layout.page_size; at + layout.page_size <= bytes.size();
       at += layout.page_size)
    if (bytes[at] == leaf_detail::kLeafPageKind)
      leaf_detail::CollectLeaf(&bytes[at], layout, result.keys);
  return result;
}

}  // namespace testsupport
