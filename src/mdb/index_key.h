#pragma once
// Index entry keys as Jet writes them: one flag byte per column followed by
// the column's value in an order-preserving byte form, so that plain byte
// comparison of two keys orders them as the index does. Descending columns
// use the bitwise inverse. Leaf entries append the row pointer.
//
// This layer takes plain values and knows nothing of pages or tables.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace mdb::index_key {

enum class KeyFormat : std::uint8_t { kJet3, kJet4 };

// The collating order stored in the database header and in each text column.
struct SortOrder {
  std::uint16_t locale = 1033;  // 1033 (0x409) is "General"
  std::uint8_t version = 0;     // Jet 4 only; 0 is the Access 2000-2003 order
};

// The text encodings this layer produces.
enum class TextOrder : std::uint8_t {
  kGeneralJet3,  // Access 97 "General"
  kGeneralJet4,  // Access 2000-2003 "General" (later called "General legacy")
};

// The text order for a database of `format` whose sort order is `order`;
// throws platform::Failure for orders we cannot encode.
TextOrder TextOrderFor(KeyFormat format, SortOrder order);

// Reads the sort order from an (already unmasked) database header page.
SortOrder ReadHeaderSortOrder(KeyFormat format, std::span<const std::uint8_t> header_page);

enum class KeyColumnType : std::uint8_t {
  kYesNo,
  kByte,
  kInteger,   // 16 bits
  kLong,      // 32 bits
  kCurrency,  // 64 bits, scaled by 10,000
  kSingle,
  kDouble,
  kDateTime,  // OLE date as a double
  kText,
  kMemo,
  kGuid,
  kBinary,
  kDecimal,  // Jet 4 only
};

struct Null {};

// A GUID in the byte order of its text form {00112233-4455-6677-8899-AABBCCDDEEFF}.
struct Guid {
  std::array<std::uint8_t, 16> bytes{};
};

// A Decimal as sign and unscaled 128-bit magnitude (big-endian).
struct Decimal {
  bool negative = false;
  std::array<std::uint8_t, 16> magnitude{};
};

// Integers (Byte, Integer, Long, Currency) as int64; Single, Double and
// Date/Time as double; Yes/No as bool; text as UTF-8.
using KeyValue = std::variant<Null, bool, std::int64_t, double, std::string, Guid,
                              std::vector<std::uint8_t>, Decimal>;

struct KeyPart {
  KeyColumnType type = KeyColumnType::kLong;
  bool ascending = true;
  KeyValue value;
};

// Where the row of a leaf entry lies.
struct RowPointer {
  std::uint32_t page = 0;  // 24 bits
  std::uint8_t row = 0;
};

// The key bytes of an entry for the given column values, in index column order.
std::vector<std::uint8_t> EncodeKey(TextOrder order, std::span<const KeyPart> parts);

// A leaf entry: the key, then the page (3 bytes, big-endian) and row number.
std::vector<std::uint8_t> EncodeLeafEntry(TextOrder order, std::span<const KeyPart> parts,
                                          RowPointer row);

// An intermediate entry: a leaf entry followed by the child page (4 bytes, big-endian).
std::vector<std::uint8_t> EncodeNodeEntry(TextOrder order, std::span<const KeyPart> parts,
                                          RowPointer row, std::uint32_t child_page);

// Appends `row` as it follows a key.
void AppendRowPointer(std::vector<std::uint8_t>& out, RowPointer row);

}  // namespace mdb::index_key
