#include "mdb/byte_view.h"

#include <bit>
#include <cstring>

namespace mdb {

std::size_t ByteView::Check(std::size_t offset, std::size_t length) const {
  if (offset > bytes_.size() || length > bytes_.size() - offset) {
    Fail("a field at offset " + std::to_string(offset) + " of length " + std::to_string(length) +
         " lies outside its " + std::to_string(bytes_.size()) + "-byte range");
  }
  return offset;
}

std::uint16_t ByteView::U16(std::size_t offset) const {
  std::size_t i = Check(offset, 2);
  return static_cast<std::uint16_t>(Byte(i) | (Byte(i + 1) << 8));
}

std::uint32_t ByteView::U24(std::size_t offset) const {
  std::size_t i = Check(offset, 3);
  return std::uint32_t{Byte(i)} | (std::uint32_t{Byte(i + 1)} << 8) |
         (std::uint32_t{Byte(i + 2)} << 16);
}

std::uint32_t ByteView::U32(std::size_t offset) const {
  std::size_t i = Check(offset, 4);
  return std::uint32_t{Byte(i)} | (std::uint32_t{Byte(i + 1)} << 8) |
         (std::uint32_t{Byte(i + 2)} << 16) | (std::uint32_t{Byte(i + 3)} << 24);
}

std::uint64_t ByteView::U64(std::size_t offset) const {
  Check(offset, 8);
  return std::uint64_t{U32(offset)} | (std::uint64_t{U32(offset + 4)} << 32);
}

float ByteView::F32(std::size_t offset) const {
  return std::bit_cast<float>(U32(offset));
}

double ByteView::F64(std::size_t offset) const {
  return std::bit_cast<double>(U64(offset));
}

std::uint32_t ByteView::U24BigEndian(std::size_t offset) const {
  std::size_t i = Check(offset, 3);
  return (std::uint32_t{Byte(i)} << 16) | (std::uint32_t{Byte(i + 1)} << 8) | Byte(i + 2);
}

std::uint32_t ByteView::U32BigEndian(std::size_t offset) const {
  std::size_t i = Check(offset, 4);
  return (std::uint32_t{Byte(i)} << 24) | (std::uint32_t{Byte(i + 1)} << 16) |
         (std::uint32_t{Byte(i + 2)} << 8) | Byte(i + 3);
}

std::span<const std::byte> ByteView::Slice(std::size_t offset, std::size_t length) const {
  return bytes_.subspan(Check(offset, length), length);
}

}  // namespace mdb
