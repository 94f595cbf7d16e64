#pragma once
// Checked reads of little- and big-endian numbers from a byte range. Every
// read outside the range is reported as damage of the page the range lies on.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "mdb/errors.h"

namespace mdb {

class ByteView {
 public:
  ByteView(std::span<const std::byte> bytes, Where where) : bytes_(bytes), where_(where) {}

  std::size_t size() const { return bytes_.size(); }
  std::span<const std::byte> bytes() const { return bytes_; }
  const Where& where() const { return where_; }

  std::uint8_t U8(std::size_t offset) const { return Byte(Check(offset, 1)); }
  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U24(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::uint64_t U64(std::size_t offset) const;
  std::int16_t I16(std::size_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  std::int64_t I64(std::size_t offset) const { return static_cast<std::int64_t>(U64(offset)); }
  float F32(std::size_t offset) const;
  double F64(std::size_t offset) const;
  // Big-endian forms, as index entries store page numbers.
  std::uint32_t U24BigEndian(std::size_t offset) const;
  std::uint32_t U32BigEndian(std::size_t offset) const;

  // The sub-range [offset, offset + length), checked.
  std::span<const std::byte> Slice(std::size_t offset, std::size_t length) const;
  ByteView SubView(std::size_t offset, std::size_t length) const {
    return ByteView(Slice(offset, length), where_);
  }

  [[noreturn]] void Fail(std::string_view what) const { ThrowCorrupt(where_, what); }

 private:
  std::size_t Check(std::size_t offset, std::size_t length) const;
  std::uint8_t Byte(std::size_t i) const { return static_cast<std::uint8_t>(bytes_[i]); }

  std::span<const std::byte> bytes_;
  Where where_;
};

}  // namespace mdb
