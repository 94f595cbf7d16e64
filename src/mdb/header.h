#pragma once
// The database header (page 0): which Jet generation wrote the file, and the
// settings kept under the header mask.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "mdb/format.h"

namespace mdb {

struct DatabaseHeader {
  const Format* format = nullptr;
  std::uint16_t code_page = 0;     // Windows code page of Jet 3 text
  std::uint16_t sort_order = 0;    // collating order (a Windows locale id, 1033 = General)
  std::uint16_t sort_version = 0;  // Jet 4 only
  std::uint32_t encoding_key = 0;  // non-zero: every page is RC4-encrypted
  double creation_date = 0;        // Jet 4 only, OLE date
};

// The least number of bytes that lets the generation be told.
inline constexpr std::size_t kHeaderProbeSize = 0x80;

// Tells the generation from the first bytes of a file; refuses (3343) a file
// that is no Jet database or is written by ACE (Access 2007 and later).
const Format& DetectFormat(std::span<const std::byte> start, std::string_view file_name);

// Reads the masked settings of a whole page 0 and refuses an encrypted or a
// password-protected database (3031).
DatabaseHeader ParseHeader(std::span<const std::byte> page0, std::string_view file_name);

}  // namespace mdb
