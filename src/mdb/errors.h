#pragma once
// The failures the storage engine reports, with the numbers DAO users know.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace mdb {

namespace dao {
inline constexpr std::int32_t kObjectNotFound = 3011;      // could not find the object
inline constexpr std::int32_t kFileNotFound = 3024;        // could not find file
inline constexpr std::int32_t kNotValidPassword = 3031;    // not a valid password
inline constexpr std::int32_t kCorruptDatabase = 3049;     // cannot open: damaged database
inline constexpr std::int32_t kItemNotFound = 3265;        // item not found in this collection
inline constexpr std::int32_t kUnrecognizedFormat = 3343;  // unrecognized database format
}  // namespace dao

inline constexpr std::string_view kErrorSource = "mdb";

// Where a fault was found: the file and, when known, the page.
struct Where {
  std::string_view file;
  std::uint32_t page = 0;
};

// A damaged-file failure naming the file and the page.
[[noreturn]] void ThrowCorrupt(const Where& where, std::string_view what);

// Any other failure of the engine.
[[noreturn]] void ThrowFailure(std::int32_t number, std::string description);

}  // namespace mdb
