#pragma once
// The column types of Jet and their stored sizes.

#include <cstdint>
#include <optional>
#include <string_view>

namespace mdb {

enum class ColumnType : std::uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInteger = 0x03,
  kLong = 0x04,
  kCurrency = 0x05,
  kSingle = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
  kGuid = 0x0F,
  kDecimal = 0x10,
  // Raw fixed-size bytes; Access uses it in system tables (MSysAccessObjects.Data).
  kFixedBinary = 0x11,
};

// The type for a stored code, or nullopt for a code this engine does not know.
std::optional<ColumnType> ColumnTypeFromCode(std::uint8_t code);

// The name DAO users know ("Long", "Text", "Replication ID", ...).
std::string_view ColumnTypeName(ColumnType type);

// The type for a name as ColumnTypeName spells it.
std::optional<ColumnType> ColumnTypeFromName(std::string_view name);

// True for the long-value types whose data lies outside the row.
inline bool IsLongValue(ColumnType type) {
  return type == ColumnType::kMemo || type == ColumnType::kOle;
}

}  // namespace mdb
