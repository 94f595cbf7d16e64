#pragma once
// Builds small Jet 4 databases page by page, for corner cases the Access
// files do not show (overflow rows, long values over several pages, text
// switching compression modes, empty tables) and for large generated tables.
// It writes only what a reader needs: the header page (whose masked region
// unmasks to zeros: no password, no encryption), a usage-map page, the
// catalog (MSysObjects with Id, ParentId, Name, Type, Flags), and for each
// table its definition, data pages and long-value pages.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mdb/header_mask.h"

namespace mdbtest {

using Bytes = std::vector<std::byte>;

inline constexpr std::size_t kPageSize = 4096;

enum class JetType : std::uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInteger = 0x03,
  kLong = 0x04,
  kDouble = 0x07,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
};

struct BuiltColumn {
  std::string name;
  JetType type;
  std::uint16_t length = 0;  // Text: bytes (two per character)
};

// A cell: nullopt is Null; otherwise the stored bytes (for Memo/OLE the
// 12-byte reference, see Jet4Builder::LongValue...). A Boolean's bytes are
// ignored: a non-empty cell is Yes, an empty vector is No.
using Cell = std::optional<Bytes>;

inline void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = std::byte(v & 0xFF);
  b[at + 1] = std::byte(v >> 8);
}
inline void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::byte((v >> (8 * i)) & 0xFF);
}
inline void AppendU16(Bytes& b, std::uint16_t v) {
  b.push_back(std::byte(v & 0xFF));
  b.push_back(std::byte(v >> 8));
}
inline Bytes U32Bytes(std::uint32_t v) {
  Bytes b(4);
  PutU32(b, 0, v);
  return b;
}
inline Bytes I16Bytes(std::int16_t v) {
  Bytes b(2);
  PutU16(b, 0, std::uint16_t(v));
  return b;
}
// ASCII text as plain UTF-16LE.
inline Bytes Utf16(std::string_view ascii) {
  Bytes b;
  for (char c : ascii) AppendU16(b, std::uint16_t(static_cast<unsigned char>(c)));
  return b;
}
inline Bytes Raw(std::initializer_list<int> values) {
  Bytes b;
  for (int v : values) b.push_back(std::byte(v));
  return b;
}
inline std::uint32_t Packed(std::uint32_t page, std::uint8_t row) {
  return page << 8 | row;
}

class Jet4Builder {
 public:
  Jet4Builder() {
    pages_.resize(3);  // header, usage maps, catalog definition
    pages_[0] = HeaderPage();
    pages_[1] = EmptyDataPage(0);
    catalog_columns_ = {{"Id", JetType::kLong},
                        {"ParentId", JetType::kLong},
                        {"Name", JetType::kText, 128},
                        {"Type", JetType::kInteger},
                        {"Flags", JetType::kLong}};
  }

  // Adds a user table; rows are stored in order, filling data pages.
  // Returns the table definition page.
  std::uint32_t AddTable(const std::string& name, const std::vector<BuiltColumn>& columns,
                         const std::vector<std::vector<Cell>>& rows) {
    const std::uint32_t tdef = NewPage();
    std::vector<std::uint32_t> data_pages = StoreRows(tdef, columns, rows);
    pages_[tdef] =
        DefinitionPage(columns, std::uint32_t(rows.size()), AddUsageMap(data_pages), 0x4E);
    tables_.push_back({name, tdef});
    return tdef;
  }

  // Adds a table whose only row is an overflow row: its slot on the first
  // data page points to the row data, stored (marked deleted) on a second.
  std::uint32_t AddTableWithOverflowRow(const std::string& name,
                                        const std::vector<BuiltColumn>& columns,
                                        const std::vector<Cell>& row) {
    const std::uint32_t tdef = NewPage();
    const std::uint32_t first = NewPage(), second = NewPage();
    pages_[second] = EmptyDataPage(tdef);
    const std::uint8_t target = AppendRow(pages_[second], EncodeRow(columns, row), 0x8000);
    pages_[first] = EmptyDataPage(tdef);
    AppendRow(pages_[first], U32Bytes(Packed(second, target)), 0x4000);
    pages_[tdef] = DefinitionPage(columns, 1, AddUsageMap({first, second}), 0x4E);
    tables_.push_back({name, tdef});
    return tdef;
  }

  // Stores a long value in a chain of long-value rows, `chunk` bytes each,
  // one page per row; returns the 12-byte reference for a Memo/OLE cell.
  Bytes LongValueChain(const Bytes& data, std::size_t chunk) {
    std::vector<std::uint32_t> pages;
    for (std::size_t at = 0; at < data.size(); at += chunk) pages.push_back(NewPage());
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const std::uint32_t next = i + 1 < pages.size() ? Packed(pages[i + 1], 0) : 0;
      Bytes row = U32Bytes(next);
      const std::size_t at = i * chunk;
      row.insert(row.end(), data.begin() + std::ptrdiff_t(at),
                 data.begin() + std::ptrdiff_t(std::min(data.size(), at + chunk)));
      pages_[pages[i]] = LongValuePage();
      AppendRow(pages_[pages[i]], row, 0);
    }
    return Reference(std::uint32_t(data.size()), Packed(pages.front(), 0));
  }
  // A long value kept in one long-value row.
  Bytes LongValueSingle(const Bytes& data) {
    const std::uint32_t page = NewPage();
    pages_[page] = LongValuePage();
    AppendRow(pages_[page], data, 0);
    return Reference(std::uint32_t(data.size()) | 0x40000000u, Packed(page, 0));
  }
  // A long value kept inside the row.
  static Bytes LongValueInline(const Bytes& data) {
    Bytes ref = Reference(std::uint32_t(data.size()) | 0x80000000u, 0);
    ref.insert(ref.end(), data.begin(), data.end());
    return ref;
  }

  // The finished file.
  Bytes Build() {
    std::vector<std::vector<Cell>> rows;
    std::int32_t id = 0;
    for (const auto& t : tables_)
      rows.push_back(
          {U32Bytes(t.tdef), U32Bytes(0x0F000001), Utf16(t.name), I16Bytes(1), U32Bytes(0)});
    (void)id;
    std::vector<std::uint32_t> data_pages = StoreRows(2, catalog_columns_, rows);
    pages_[2] =
        DefinitionPage(catalog_columns_, std::uint32_t(rows.size()), AddUsageMap(data_pages), 0x53);
    Bytes file;
    for (const auto& page : pages_) file.insert(file.end(), page.begin(), page.end());
    return file;
  }

 private:
  struct BuiltTable {
    std::string name;
    std::uint32_t tdef;
  };

  static Bytes Reference(std::uint32_t length_and_flags, std::uint32_t pointer) {
    Bytes ref(12);
    PutU32(ref, 0, length_and_flags);
    PutU32(ref, 4, pointer);
    return ref;
  }

  static Bytes HeaderPage() {
    Bytes page(kPageSize);
    page[0] = std::byte{0};
    page[1] = std::byte{1};
    std::memcpy(page.data() + 4, "Standard Jet DB", 15);
    page[0x14] = std::byte{1};  // Jet 4
    // The masked region holds the mask itself, so that it unmasks to zeros.
    mdb::ToggleHeaderMask(mdb::kJet4Format, page);
    return page;
  }

  std::uint32_t NewPage() {
    pages_.emplace_back(kPageSize);
    return std::uint32_t(pages_.size() - 1);
  }

  static Bytes EmptyDataPage(std::uint32_t tdef) {
    Bytes page(kPageSize);
    page[0] = std::byte{1};
    page[1] = std::byte{1};
    PutU16(page, 2, std::uint16_t(kPageSize - 14));
    PutU32(page, 4, tdef);
    return page;
  }
  static Bytes LongValuePage() {
    Bytes page = EmptyDataPage(0);
    std::memcpy(page.data() + 4, "LVAL", 4);
    return page;
  }

  static std::uint16_t RowCount(const Bytes& page) {
    return std::uint16_t(std::to_integer<int>(page[12]) | std::to_integer<int>(page[13]) << 8);
  }
  static std::size_t FreeSpace(const Bytes& page) {
    const std::uint16_t count = RowCount(page);
    std::size_t lowest = kPageSize;
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::size_t at = 14 + std::size_t(i) * 2;
      lowest = std::min<std::size_t>(
          lowest,
          (std::to_integer<int>(page[at]) | std::to_integer<int>(page[at + 1]) << 8) & 0x1FFF);
    }
    const std::size_t table_end = 14 + std::size_t(count) * 2 + 2;
    return lowest > table_end ? lowest - table_end : 0;
  }
  // Places the row below the lowest one; returns its slot.
  static std::uint8_t AppendRow(Bytes& page, const Bytes& row, std::uint16_t flags) {
    if (FreeSpace(page) < row.size()) throw std::length_error("row does not fit the page");
    const std::uint16_t count = RowCount(page);
    std::size_t lowest = kPageSize;
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::size_t at = 14 + std::size_t(i) * 2;
      lowest = std::min<std::size_t>(
          lowest,
          (std::to_integer<int>(page[at]) | std::to_integer<int>(page[at + 1]) << 8) & 0x1FFF);
    }
    const std::size_t start = lowest - row.size();
    std::copy(row.begin(), row.end(), page.begin() + std::ptrdiff_t(start));
    PutU16(page, 14 + std::size_t(count) * 2, std::uint16_t(start | flags));
    PutU16(page, 12, std::uint16_t(count + 1));
    return std::uint8_t(count);
  }

  static bool IsFixed(JetType type) { return FixedSize(type) > 0 || type == JetType::kBoolean; }
  static std::size_t FixedSize(JetType type) {
    switch (type) {
      case JetType::kByte:
        return 1;
      case JetType::kInteger:
        return 2;
      case JetType::kLong:
        return 4;
      case JetType::kDouble:
        return 8;
      default:
        return 0;
    }
  }

  // Jet 4 row: column count, fixed data, variable data, end offset,
  // variable offsets (last first), variable count, null mask.
  // A row with fewer cells than columns was written before the remaining
  // columns were added.
  static Bytes EncodeRow(const std::vector<BuiltColumn>& all_columns,
                         const std::vector<Cell>& cells) {
    const std::vector<BuiltColumn> columns(
        all_columns.begin(),
        all_columns.begin() + std::ptrdiff_t(std::min(cells.size(), all_columns.size())));
    Bytes row;
    AppendU16(row, std::uint16_t(columns.size()));
    std::vector<std::uint8_t> mask((columns.size() + 7) / 8);
    auto set_bit = [&](std::size_t i) { mask[i / 8] |= std::uint8_t(1u << (i % 8)); };
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (!IsFixed(columns[i].type) || columns[i].type == JetType::kBoolean) {
        if (columns[i].type == JetType::kBoolean && cells[i] && !cells[i]->empty()) set_bit(i);
        continue;
      }
      Bytes value = cells[i].value_or(Bytes(FixedSize(columns[i].type)));
      value.resize(FixedSize(columns[i].type));
      row.insert(row.end(), value.begin(), value.end());
      if (cells[i]) set_bit(i);
    }
    std::vector<std::uint16_t> offsets;
    bool any_var = false;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (IsFixed(columns[i].type)) continue;
      any_var = true;
      offsets.push_back(std::uint16_t(row.size()));
      if (cells[i]) {
        row.insert(row.end(), cells[i]->begin(), cells[i]->end());
        set_bit(i);
      }
    }
    if (any_var) {
      AppendU16(row, std::uint16_t(row.size()));  // end of the variable data
      for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) AppendU16(row, *it);
      AppendU16(row, std::uint16_t(offsets.size()));
    }
    for (auto b : mask) row.push_back(std::byte(b));
    return row;
  }

  std::vector<std::uint32_t> StoreRows(std::uint32_t tdef, const std::vector<BuiltColumn>& columns,
                                       const std::vector<std::vector<Cell>>& rows) {
    std::vector<std::uint32_t> data_pages;
    for (const auto& cells : rows) {
      const Bytes row = EncodeRow(columns, cells);
      if (data_pages.empty() || FreeSpace(pages_[data_pages.back()]) < row.size() ||
          RowCount(pages_[data_pages.back()]) == 255) {
        data_pages.push_back(NewPage());
        pages_[data_pages.back()] = EmptyDataPage(tdef);
      }
      AppendRow(pages_[data_pages.back()], row, 0);
    }
    return data_pages;
  }

  // An inline usage map row on page 1 listing the pages.
  std::uint32_t AddUsageMap(const std::vector<std::uint32_t>& pages) {
    Bytes map(5 + 64);
    const std::uint32_t first = pages.empty() ? 0 : *std::min_element(pages.begin(), pages.end());
    PutU32(map, 1, first);
    for (std::uint32_t p : pages) {
      const std::uint32_t bit = p - first;
      if (bit >= 64 * 8) throw std::length_error("table too large for an inline usage map");
      map[5 + bit / 8] |= std::byte(1u << (bit % 8));
    }
    return Packed(1, AppendRow(pages_[1], map, 0));
  }

  static Bytes DefinitionPage(const std::vector<BuiltColumn>& columns, std::uint32_t row_count,
                              std::uint32_t owned_map, std::uint8_t table_type) {
    Bytes d(63);
    d[0] = std::byte{2};
    d[1] = std::byte{1};
    PutU32(d, 16, row_count);
    d[40] = std::byte{table_type};
    std::uint16_t var_count = 0;
    for (const auto& c : columns) var_count += IsFixed(c.type) ? 0 : 1;
    PutU16(d, 41, std::uint16_t(columns.size()));
    PutU16(d, 43, var_count);
    PutU16(d, 45, std::uint16_t(columns.size()));
    PutU32(d, 55, owned_map);
    PutU32(d, 59, owned_map);
    std::uint16_t fixed_offset = 0, var_index = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      Bytes c(25);
      c[0] = std::byte(columns[i].type);
      PutU16(c, 5, std::uint16_t(i));
      PutU16(c, 9, std::uint16_t(i));
      if (columns[i].type == JetType::kText || columns[i].type == JetType::kMemo)
        PutU16(c, 11, 0x409);
      const bool fixed = IsFixed(columns[i].type);
      c[15] = std::byte(fixed ? 0x03 : 0x02);
      if (columns[i].type == JetType::kText || columns[i].type == JetType::kMemo)
        c[16] = std::byte{1};
      if (fixed) {
        PutU16(c, 21, fixed_offset);
        fixed_offset = std::uint16_t(fixed_offset + FixedSize(columns[i].type));
        PutU16(c, 23, std::uint16_t(FixedSize(columns[i].type)));
      } else {
        PutU16(c, 7, var_index++);
        PutU16(c, 23, columns[i].type == JetType::kText ? columns[i].length : 0);
      }
      d.insert(d.end(), c.begin(), c.end());
    }
    for (const auto& c : columns) {
      const Bytes name = Utf16(c.name);
      AppendU16(d, std::uint16_t(name.size()));
      d.insert(d.end(), name.begin(), name.end());
    }
    AppendU16(d, 0xFFFF);  // no long-value column maps
    PutU32(d, 8, std::uint32_t(d.size() - 8));
    if (d.size() > kPageSize) throw std::length_error("definition does not fit one page");
    PutU16(d, 2, std::uint16_t(kPageSize - d.size()));
    d.resize(kPageSize);
    return d;
  }

  std::vector<Bytes> pages_;
  std::vector<BuiltColumn> catalog_columns_;
  std::vector<BuiltTable> tables_;
};

}  // namespace mdbtest
