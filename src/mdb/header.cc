#include "mdb/header.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "mdb/byte_view.h"
#include "mdb/errors.h"
#include "mdb/header_mask.h"

namespace mdb {
namespace {

constexpr std::size_t kEngineNameOffset = 4;
constexpr std::string_view kJetEngineName = "Standard Jet DB";
constexpr std::string_view kAceEngineName = "Standard ACE DB";
constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kCodePageOffset = 0x3C;
constexpr std::size_t kEncodingKeyOffset = 0x3E;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kJet3SortOrderOffset = 0x3A;
constexpr std::size_t kJet4SortOrderOffset = 0x6E;
constexpr std::size_t kCreationDateOffset = 0x72;

std::string Quoted(std::string_view file_name) {
  return "'" + std::string(file_name) + "'";
}

[[noreturn]] void RefuseFormat(std::string_view file_name, std::string_view why) {
  ThrowFailure(dao::kUnrecognizedFormat,
               "Unrecognized database format " + Quoted(file_name) + ": " + std::string(why) + ".");
}

bool HasName(std::span<const std::byte> start, std::string_view name) {
  return std::memcmp(start.data() + kEngineNameOffset, name.data(), name.size()) == 0;
}

std::string_view AceVersionName(std::uint8_t code) {
  switch (code) {
    case 2:
      return "Access 2007 (ACE 12)";
    case 3:
      return "Access 2010 (ACE 14)";
    case 4:
      return "Access 2013 (ACE 15)";
    case 5:
      return "Access 2016 (ACE 16)";
    case 6:
      return "Access 2019 (ACE 17)";
    default:
      return "an unknown ACE version";
  }
}

bool PasswordSet(const ByteView& page, const Format& format, double creation_date) {
  std::size_t length = format.jet4() ? 40 : 20;
  std::uint8_t mask[4] = {0, 0, 0, 0};
  if (format.jet4()) {
    // Jet 4 masks the password once more with the creation date's whole days.
    auto days = static_cast<std::uint32_t>(
        static_cast<std::int32_t>(std::clamp(creation_date, -2147483648.0, 2147483647.0)));
    for (int i = 0; i < 4; ++i) mask[i] = static_cast<std::uint8_t>(days >> (8 * i));
  }
  for (std::size_t i = 0; i < length; ++i) {
    if ((page.U8(kPasswordOffset + i) ^ mask[i % 4]) != 0) return true;
  }
  return false;
}

}  // namespace

const Format& DetectFormat(std::span<const std::byte> start, std::string_view file_name) {
  if (start.size() < kHeaderProbeSize || start[0] != std::byte{0}) {
    RefuseFormat(file_name, "the file is no Jet database");
  }
  auto version = static_cast<std::uint8_t>(start[kVersionOffset]);
  if (HasName(start, kAceEngineName) || (HasName(start, kJetEngineName) && version >= 2)) {
    RefuseFormat(file_name, "the file was written by " + std::string(AceVersionName(version)) +
                                ", which this engine does not read");
  }
  if (!HasName(start, kJetEngineName)) RefuseFormat(file_name, "the file is no Jet database");
  if (version == 0) return kJet3Format;
  if (version == 1) return kJet4Format;
  RefuseFormat(file_name, "unknown Jet version code " + std::to_string(version));
}

DatabaseHeader ParseHeader(std::span<const std::byte> page0, std::string_view file_name) {
  DatabaseHeader header;
  header.format = &DetectFormat(page0, file_name);
  const Format& format = *header.format;
  std::vector<std::byte> plain(page0.begin(), page0.end());
  ToggleHeaderMask(format, plain);
  ByteView page(plain, Where{file_name, 0});
  header.code_page = page.U16(kCodePageOffset);
  header.encoding_key = page.U32(kEncodingKeyOffset);
  if (format.jet4()) {
    header.sort_order = page.U16(kJet4SortOrderOffset);
    header.sort_version = page.U16(kJet4SortOrderOffset + 2);
    header.creation_date = page.F64(kCreationDateOffset);
  } else {
    header.sort_order = page.U16(kJet3SortOrderOffset);
  }
  if (header.encoding_key != 0) {
    ThrowFailure(dao::kNotValidPassword, "The database " + Quoted(file_name) +
                                             " is encrypted; this engine does not open "
                                             "encrypted databases.");
  }
  if (PasswordSet(page, format, header.creation_date)) {
    ThrowFailure(dao::kNotValidPassword, "The database " + Quoted(file_name) +
                                             " is protected by a password; this engine does "
                                             "not open password-protected databases.");
  }
  return header;
}

}  // namespace mdb
