#include "mdb/rc4.h"

#include <array>
#include <utility>

namespace mdb {

void ApplyRc4(std::span<const std::uint8_t> key, std::span<std::byte> data) {
  std::array<std::uint8_t, 256> state{};
  for (std::size_t i = 0; i < state.size(); ++i) state[i] = static_cast<std::uint8_t>(i);
  if (!key.empty()) {
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
      j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
      std::swap(state[i], state[j]);
    }
  }
  std::uint8_t i = 0;
  std::uint8_t j = 0;
  for (std::byte& b : data) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + state[i]);
    std::swap(state[i], state[j]);
    std::uint8_t k = state[static_cast<std::uint8_t>(state[i] + state[j])];
    b ^= std::byte{k};
  }
}

}  // namespace mdb
