#pragma once
// The program's own run-time errors (overflow, subscript out of range, invalid
// argument), raised with the executable name as their source.

#include <cstdint>
#include <limits>
#include <string>

#include "platform/env.h"
#include "platform/error.h"

namespace diagnostics {

[[noreturn]] inline void RaiseRuntimeError(platform::Env& env, std::int32_t number,
                                           std::string description) {
  throw platform::Failure(number, env.ExecutableName(), std::move(description));
}

// A value as a 16-bit integer; outside -32768..32767 it is an overflow.
inline std::int16_t ToInt16(platform::Env& env, std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    RaiseRuntimeError(env, platform::err::kOverflow,
                      "Overflow: " + std::to_string(value) + " does not fit a 16-bit integer");
  }
  return static_cast<std::int16_t>(value);
}

// A 16-bit counter one up.
inline std::int16_t Increment16(platform::Env& env, std::int16_t value) {
  return ToInt16(env, std::int64_t{value} + 1);
}

}  // namespace diagnostics
