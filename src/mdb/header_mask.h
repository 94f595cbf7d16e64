#pragma once
// The header page hides its settings (code page, sort order, keys, password)
// under a fixed mask: the RC4 key stream of the key 0x6B39DAC7, applied from
// offset 0x18 for 126 (Jet 3) or 128 (Jet 4) bytes.

#include <cstddef>
#include <span>

#include "mdb/format.h"

namespace mdb {

inline constexpr std::size_t kMaskedHeaderOffset = 0x18;

// Removes (or, applied again, puts back) the mask on a copy of page 0.
void ToggleHeaderMask(const Format& format, std::span<std::byte> page0);

}  // namespace mdb
