#pragma once
// Decoding one stored row into values, one per column of the definition.
//
// Layout: the column count of the row (1 byte Jet 3, 2 bytes Jet 4), the
// fixed-length data, the variable-length data, then from the end backwards:
// the null mask (one bit per column number, 1 = has a value; Yes/No values
// are the bit itself), the count of variable columns, their offsets (Jet 3
// one byte each, extended by a jump table for rows over 255 bytes) and the
// end-of-data offset. Columns added after the row was written read as Null.

#include <cstddef>
#include <span>

#include "mdb/pager.h"
#include "mdb/table_definition.h"
#include "mdb/text_codec.h"
#include "mdb/value.h"

namespace mdb {

// The bytes of each column of a row, before they become values: nullopt for
// Null. Yes/No columns get an empty span and their value in `flag`.
struct RawField {
  bool present = false;
  bool flag = false;
  std::span<const std::byte> bytes;
};

std::vector<RawField> SplitRecord(const TableDefinition& table, const Format& format,
                                  const ByteView& row);

// A fixed-size or inline value of a column from its raw bytes; long values
// are resolved through the pager.
Value DecodeField(const ColumnDefinition& column, const RawField& field, const ByteView& row,
                  Pager& pager, const TextCodec& text, std::uint32_t page);

Row DecodeRecord(const TableDefinition& table, Pager& pager, const TextCodec& text,
                 const ByteView& row);

}  // namespace mdb
