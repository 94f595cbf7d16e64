#pragma once
// The profile (INI) file service: reading a text or an integer entry and
// writing an entry, the way the Windows profile functions do it with the
// program's buffer sizes. Texts are UTF-8 here and Windows-1252 in the file;
// every call reads (and a write replaces) the whole file anew, nothing is
// cached.
//
// A file that cannot be read (missing, a folder, an empty path, held by
// another program) reads like an empty one.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/profile_bytes.h"

namespace platform {

// The most characters a text read returns: the read buffer holds 255
// characters including the terminator.
inline constexpr std::size_t kProfileTextLimit = 254;

// The value of the entry, or, when it is absent or empty, the default with its
// trailing blanks removed; either cut to its first 254 characters.
std::string ReadProfileString(Env& env, std::string_view section, std::string_view key,
                              std::string_view default_text, std::string_view path);

// The decimal number at the start of the value (0 when it does not start with
// one), or the default when the entry is absent or empty. A number beyond 32
// bits is reported as an overflow; converting to a narrower type is the
// caller's business.
ProfileInteger ReadProfileInt(Env& env, std::string_view section, std::string_view key,
                              std::int32_t default_value, std::string_view path);

// Sets the entry, creating file, section and key where missing; every other
// byte of the file stays. False when the file cannot be written (read-only,
// missing folder, a folder, an empty path, held by another program).
bool WriteProfileString(Env& env, std::string_view section, std::string_view key,
                        std::string_view value, std::string_view path);

}  // namespace platform
