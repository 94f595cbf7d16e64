#pragma once
// Text as Jet stores it, turned into UTF-8: Jet 4 keeps UTF-16LE, either
// plain or "compressed" (marked by FF FE: runs of one-byte characters whose
// high byte is zero, switched to and from two-byte runs by a zero byte);
// Jet 3 keeps single bytes of the database code page.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "mdb/format.h"

namespace mdb {

class TextCodec {
 public:
  TextCodec(const Format& format, std::uint16_t code_page)
      : jet4_(format.jet4()), code_page_(code_page) {}

  // A Text or Memo value.
  std::string DecodeValue(std::span<const std::byte> bytes) const;
  // An object, column or index name of a table definition or the catalog.
  std::string DecodeName(std::span<const std::byte> bytes) const;

 private:
  bool jet4_;
  std::uint16_t code_page_;
};

// UTF-16LE bytes as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::span<const std::byte> bytes);

// Jet 4 compressed text (after the FF FE mark) as UTF-8.
std::string DecompressUnicode(std::span<const std::byte> bytes);

// Single-byte text of a Windows code page as UTF-8. Code page 1252 (and any
// page this engine has no table for) maps bytes 0x80-0x9F by the Windows-1252
// table and the rest as Latin-1.
std::string CodePageToUtf8(std::span<const std::byte> bytes, std::uint16_t code_page);

}  // namespace mdb
