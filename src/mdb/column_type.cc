#include "mdb/column_type.h"

#include <array>
#include <utility>

namespace mdb {
namespace {

constexpr std::array<std::pair<ColumnType, std::string_view>, 15> kNames{{
    {ColumnType::kBoolean, "Boolean"},
    {ColumnType::kByte, "Byte"},
    {ColumnType::kInteger, "Integer"},
    {ColumnType::kLong, "Long"},
    {ColumnType::kCurrency, "Currency"},
    {ColumnType::kSingle, "Single"},
    {ColumnType::kDouble, "Double"},
    {ColumnType::kDateTime, "Date/Time"},
    {ColumnType::kBinary, "Binary"},
    {ColumnType::kText, "Text"},
    {ColumnType::kOle, "OLE"},
    {ColumnType::kMemo, "Memo"},
    {ColumnType::kGuid, "Replication ID"},
    {ColumnType::kDecimal, "Decimal"},
    {ColumnType::kFixedBinary, "Fixed binary"},
}};

}  // namespace

std::optional<ColumnType> ColumnTypeFromCode(std::uint8_t code) {
  for (const auto& [type, name] : kNames) {
    if (static_cast<std::uint8_t>(type) == code) return type;
  }
  return std::nullopt;
}

std::string_view ColumnTypeName(ColumnType type) {
  for (const auto& [t, name] : kNames) {
    if (t == type) return name;
  }
  return "Unknown";
}

std::optional<ColumnType> ColumnTypeFromName(std::string_view name) {
  for (const auto& [type, n] : kNames) {
    if (n == name) return type;
  }
  return std::nullopt;
}

}  // namespace mdb
