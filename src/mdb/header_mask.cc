#include "mdb/header_mask.h"

#include <array>
#include <cstdint>

#include "mdb/rc4.h"

namespace mdb {

void ToggleHeaderMask(const Format& format, std::span<std::byte> page0) {
  static constexpr std::array<std::uint8_t, 4> kKey{0xC7, 0xDA, 0x39, 0x6B};
  if (page0.size() < kMaskedHeaderOffset + format.masked_header_length) return;
  ApplyRc4(kKey, page0.subspan(kMaskedHeaderOffset, format.masked_header_length));
}

}  // namespace mdb
