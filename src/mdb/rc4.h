#pragma once
// The RC4 stream cipher, which Jet uses to mask the header page (and, in
// encrypted databases, every page).

#include <cstddef>
#include <cstdint>
#include <span>

namespace mdb {

// XORs data in place with the RC4 key stream of key.
void ApplyRc4(std::span<const std::uint8_t> key, std::span<std::byte> data);

}  // namespace mdb
