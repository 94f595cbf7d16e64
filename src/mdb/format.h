#pragma once
// The layout constants of the two Jet generations: Jet 3 (Access 97, 2 KB
// pages) and Jet 4 (Access 2000 to 2003, 4 KB pages). Offsets are from the
// start of the page or structure they belong to.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mdb {

enum class JetVersion { kJet3, kJet4 };

struct Format {
  JetVersion version;
  std::uint32_t page_size;
  std::size_t masked_header_length;  // bytes of page 0 under the header mask

  // Table definition block.
  std::size_t tdef_row_count;
  std::size_t tdef_autonumber;
  std::size_t tdef_table_type;
  std::size_t tdef_max_columns;
  std::size_t tdef_var_columns;
  std::size_t tdef_columns;
  std::size_t tdef_logical_indexes;
  std::size_t tdef_real_indexes;
  std::size_t tdef_owned_pages;
  std::size_t tdef_free_pages;
  std::size_t tdef_header_size;        // where the per-index row counts begin
  std::size_t tdef_index_count_entry;  // bytes per real index before the columns

  // One column descriptor.
  std::size_t column_entry_size;
  std::size_t column_number;  // number that includes deleted columns (null mask bit)
  std::size_t column_var_index;
  std::size_t column_row_number;
  std::size_t column_precision;
  std::size_t column_scale;
  std::size_t column_flags;
  std::size_t column_ext_flags;  // 0 where the generation has none
  std::size_t column_fixed_offset;
  std::size_t column_length;
  std::size_t name_length_size;  // 1 byte (Jet 3) or 2 bytes (Jet 4)

  // Index descriptors.
  std::size_t real_index_entry_size;
  std::size_t real_index_skip;        // unknown bytes before the column list
  std::size_t real_index_flags_skip;  // unknown bytes between root page and flags
  std::size_t logical_index_entry_size;
  std::size_t logical_index_skip;

  // Data pages.
  std::size_t data_row_count;
  std::size_t data_row_table;
  std::size_t row_column_count_size;

  // Index pages.
  std::size_t index_prev_page;
  std::size_t index_next_page;
  std::size_t index_tail_page;
  std::size_t index_prefix_length;
  std::size_t index_prefix_length_size;  // Jet 3: one byte (the next is a flag), Jet 4: two
  std::size_t index_entry_mask;
  std::size_t index_entry_mask_length;
  std::size_t index_first_entry() const { return index_entry_mask + index_entry_mask_length; }

  std::size_t usage_map_inline_bytes;  // bytes of an inline usage-map bitmap

  std::string_view name() const { return version == JetVersion::kJet3 ? "jet3" : "jet4"; }
  bool jet4() const { return version == JetVersion::kJet4; }
};

inline constexpr Format kJet3Format{
    .version = JetVersion::kJet3,
    .page_size = 2048,
    .masked_header_length = 126,
    .tdef_row_count = 12,
    .tdef_autonumber = 16,
    .tdef_table_type = 20,
    .tdef_max_columns = 21,
    .tdef_var_columns = 23,
    .tdef_columns = 25,
    .tdef_logical_indexes = 27,
    .tdef_real_indexes = 31,
    .tdef_owned_pages = 35,
    .tdef_free_pages = 39,
    .tdef_header_size = 43,
    .tdef_index_count_entry = 8,
    .column_entry_size = 18,
    .column_number = 1,
    .column_var_index = 3,
    .column_row_number = 5,
    .column_precision = 11,
    .column_scale = 12,
    .column_flags = 13,
    .column_ext_flags = 0,
    .column_fixed_offset = 14,
    .column_length = 16,
    .name_length_size = 1,
    .real_index_entry_size = 39,
    .real_index_skip = 0,
    .real_index_flags_skip = 0,
    .logical_index_entry_size = 20,
    .logical_index_skip = 0,
    .data_row_count = 8,
    .data_row_table = 10,
    .row_column_count_size = 1,
    .index_prev_page = 8,
    .index_next_page = 12,
    .index_tail_page = 16,
    .index_prefix_length = 20,
    .index_prefix_length_size = 1,
    .index_entry_mask = 22,
    .index_entry_mask_length = 226,
    .usage_map_inline_bytes = 128,
};

inline constexpr Format kJet4Format{
    .version = JetVersion::kJet4,
    .page_size = 4096,
    .masked_header_length = 128,
    .tdef_row_count = 16,
    .tdef_autonumber = 20,
    .tdef_table_type = 40,
    .tdef_max_columns = 41,
    .tdef_var_columns = 43,
    .tdef_columns = 45,
    .tdef_logical_indexes = 47,
    .tdef_real_indexes = 51,
    .tdef_owned_pages = 55,
    .tdef_free_pages = 59,
    .tdef_header_size = 63,
    .tdef_index_count_entry = 12,
    .column_entry_size = 25,
    .column_number = 5,
    .column_var_index = 7,
    .column_row_number = 9,
    .column_precision = 11,
    .column_scale = 12,
    .column_flags = 15,
    .column_ext_flags = 16,
    .column_fixed_offset = 21,
    .column_length = 23,
    .name_length_size = 2,
    .real_index_entry_size = 52,
    .real_index_skip = 4,
    .real_index_flags_skip = 4,
    .logical_index_entry_size = 28,
    .logical_index_skip = 4,
    .data_row_count = 12,
    .data_row_table = 14,
    .row_column_count_size = 2,
    .index_prev_page = 12,
    .index_next_page = 16,
    .index_tail_page = 20,
    .index_prefix_length = 24,
    .index_prefix_length_size = 2,
    .index_entry_mask = 27,
    .index_entry_mask_length = 453,
    .usage_map_inline_bytes = 64,
};

}  // namespace mdb
