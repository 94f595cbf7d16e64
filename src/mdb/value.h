#pragma once
// One column value as DAO hands it to Visual Basic: Null or a value of one
// of the Jet column types.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace mdb {

struct Null {
  bool operator==(const Null&) const = default;
};
// Currency: a 64-bit integer of ten-thousandths.
struct Currency {
  std::int64_t scaled = 0;
  bool operator==(const Currency&) const = default;
};
// Date/Time: an OLE date (days since 1899-12-30, the fraction the time).
struct Date {
  double ole = 0;
  bool operator==(const Date&) const = default;
};
struct Text {
  std::string utf8;
  bool operator==(const Text&) const = default;
};
struct Memo {
  std::string utf8;
  bool operator==(const Memo&) const = default;
};
struct Binary {
  std::vector<std::byte> bytes;
  bool operator==(const Binary&) const = default;
};
struct Ole {
  std::vector<std::byte> bytes;
  bool operator==(const Ole&) const = default;
};
// Replication ID: 16 bytes as stored.
struct Guid {
  std::array<std::uint8_t, 16> bytes{};
  bool operator==(const Guid&) const = default;
};
// Decimal: sign, a 96-bit-or-wider magnitude (four 32-bit words, most
// significant first) and the column's precision and scale.
struct Decimal {
  bool negative = false;
  std::array<std::uint32_t, 4> magnitude{};
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;
  bool operator==(const Decimal&) const = default;
};

using Value = std::variant<Null, bool, std::uint8_t, std::int16_t, std::int32_t, Currency, float,
                           double, Date, Text, Binary, Memo, Ole, Guid, Decimal>;

inline bool IsNull(const Value& v) {
  return std::holds_alternative<Null>(v);
}

using Row = std::vector<Value>;

}  // namespace mdb
