#include "mdb/record.h"

#include <string>

#include "mdb/long_value.h"

namespace mdb {
namespace {

// Bytes a fixed-length column takes in the row; 0 for Yes/No (in the mask).
std::size_t FixedSize(const ColumnDefinition& column) {
  switch (column.type) {
    case ColumnType::kBoolean:
      return 0;
    case ColumnType::kByte:
      return 1;
    case ColumnType::kInteger:
      return 2;
    case ColumnType::kLong:
    case ColumnType::kSingle:
      return 4;
    case ColumnType::kCurrency:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
      return 8;
    case ColumnType::kGuid:
      return 16;
    case ColumnType::kDecimal:
      return 17;
    default:
      return column.length;
  }
}

// Offsets of the variable-length data: entry i starts column i, the entry
// after the last is the end of the data.
std::vector<std::size_t> VarOffsets(const Format& format, const ByteView& row, std::size_t mask) {
  const std::size_t n = row.size();
  std::vector<std::size_t> offsets;
  if (format.jet4()) {
    if (n < mask + 4) row.Fail("a row is too short for its variable-column table");
    std::size_t count = row.U16(n - mask - 2);
    if ((count + 2) * 2 + mask > n) row.Fail("a row's variable-column count is too large");
    for (std::size_t i = 0; i <= count; ++i) offsets.push_back(row.U16(n - mask - 4 - i * 2));
    return offsets;
  }
  if (n < mask + 2) row.Fail("a row is too short for its variable-column table");
  const std::size_t last = n - 1;
  std::size_t count = row.U8(last - mask);
  std::size_t jumps = (n - 1) / 256;
  if (mask + jumps + 2 + count > n) row.Fail("a row's variable-column table is too large");
  std::size_t table_end = last - mask - jumps - 1;  // offset of the first entry
  // The jump count follows the row size, so the last entry may be a dummy.
  if (jumps > 0 && (table_end - count) / 256 < jumps) --jumps;
  std::size_t used = 0;
  for (std::size_t i = 0; i <= count; ++i) {
    while (used < jumps && i == row.U8(last - mask - used - 1)) ++used;
    offsets.push_back(row.U8(table_end - i) + used * 256);
  }
  return offsets;
}

}  // namespace

std::vector<RawField> SplitRecord(const TableDefinition& table, const Format& format,
                                  const ByteView& row) {
  const std::size_t header = format.row_column_count_size;
  if (row.size() < header) row.Fail("a row is shorter than its column count");
  std::size_t stored = format.jet4() ? row.U16(0) : row.U8(0);
  std::size_t mask_size = (stored + 7) / 8;
  if (mask_size + header > row.size()) row.Fail("a row's null mask is longer than the row");
  ByteView mask = row.SubView(row.size() - mask_size, mask_size);
  auto bit = [&](std::uint16_t number) {
    return number < stored && (mask.U8(number / 8) & (1u << (number % 8))) != 0;
  };

  std::vector<std::size_t> var_offsets;
  bool have_var_offsets = false;
  std::vector<RawField> fields(table.columns.size());
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    const ColumnDefinition& column = table.columns[c];
    RawField& field = fields[c];
    if (column.type == ColumnType::kBoolean) {
      field.present = true;
      field.flag = bit(column.number);
      continue;
    }
    if (!bit(column.number)) continue;
    if (column.fixed()) {
      field.bytes = row.Slice(header + column.fixed_offset, FixedSize(column));
    } else {
      if (!have_var_offsets) {
        var_offsets = VarOffsets(format, row, mask_size);
        have_var_offsets = true;
      }
      if (column.var_index + std::size_t{1} >= var_offsets.size()) continue;  // added later
      std::size_t start = var_offsets[column.var_index];
      std::size_t end = var_offsets[column.var_index + 1];
      if (start > end || end > row.size() - mask_size || start < header) {
        row.Fail("column '" + column.name + "' lies at " + std::to_string(start) + ".." +
                 std::to_string(end) + ", outside its row");
      }
      field.bytes = row.Slice(start, end - start);
    }
    field.present = true;
  }
  return fields;
}

Value DecodeField(const ColumnDefinition& column, const RawField& field, const ByteView& row,
                  Pager& pager, const TextCodec& text, std::uint32_t page) {
  if (!field.present) return Null{};
  ByteView v(field.bytes, row.where());
  auto need = [&](std::size_t size) {
    if (v.size() < size) {
      row.Fail("column '" + column.name + "' holds " + std::to_string(v.size()) +
               " bytes, fewer than its type needs");
    }
  };
  switch (column.type) {
    case ColumnType::kBoolean:
      return field.flag;
    case ColumnType::kByte:
      need(1);
      return v.U8(0);
    case ColumnType::kInteger:
      need(2);
      return v.I16(0);
    case ColumnType::kLong:
      need(4);
      return v.I32(0);
    case ColumnType::kCurrency:
      need(8);
      return Currency{v.I64(0)};
    case ColumnType::kSingle:
      need(4);
      return v.F32(0);
    case ColumnType::kDouble:
      need(8);
      return v.F64(0);
    case ColumnType::kDateTime:
      need(8);
      return Date{v.F64(0)};
    case ColumnType::kGuid: {
      need(16);
      Guid g;
      for (std::size_t i = 0; i < 16; ++i) g.bytes[i] = v.U8(i);
      return g;
    }
    case ColumnType::kDecimal: {
      need(17);
      Decimal d;
      d.negative = v.U8(0) != 0;
      for (std::size_t i = 0; i < 4; ++i) d.magnitude[i] = v.U32(1 + i * 4);
      d.precision = column.precision;
      d.scale = column.scale;
      if (d.scale > 38) row.Fail("column '" + column.name + "' has a decimal scale over 38");
      return d;
    }
    case ColumnType::kText:
      return Text{text.DecodeValue(field.bytes)};
    case ColumnType::kBinary:
    case ColumnType::kFixedBinary:
      return Binary{{field.bytes.begin(), field.bytes.end()}};
    case ColumnType::kMemo:
    case ColumnType::kOle: {
      if (v.size() == 0) return Null{};
      need(kLongValueReferenceSize);
      std::vector<std::byte> data = ReadLongValue(pager, v, page);
      if (column.type == ColumnType::kOle) return Ole{std::move(data)};
      return Memo{text.DecodeValue(data)};
    }
  }
  return Null{};
}

Row DecodeRecord(const TableDefinition& table, Pager& pager, const TextCodec& text,
                 const ByteView& row) {
  std::vector<RawField> fields = SplitRecord(table, pager.format(), row);
  Row values;
  values.reserve(fields.size());
  for (std::size_t c = 0; c < fields.size(); ++c) {
    values.push_back(DecodeField(table.columns[c], fields[c], row, pager, text, row.where().page));
  }
  return values;
}

}  // namespace mdb
