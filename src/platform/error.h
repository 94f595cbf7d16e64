#pragma once
// A failure as the program reports it: number, source and description, with
// the numbers that Visual Basic and DAO users know for the same condition.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

namespace err {
inline constexpr std::int32_t kInvalidArgument = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kBadFileMode = 54;
inline constexpr std::int32_t kDeviceIo = 57;
inline constexpr std::int32_t kFileExists = 58;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kInputPastEnd = 62;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kDiskNotReady = 71;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
}  // namespace err

struct ErrorInfo {
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

// Thrown by every layer for a failed step; the program's failure convention
// turns it into a report.
class Failure : public std::runtime_error {
 public:
  Failure(std::int32_t number, std::string source, std::string description)
      : std::runtime_error(description), info_{number, std::move(source), std::move(description)} {}
  explicit Failure(ErrorInfo info) : std::runtime_error(info.description), info_(std::move(info)) {}

  const ErrorInfo& info() const noexcept { return info_; }
  std::int32_t number() const noexcept { return info_.number; }
  const std::string& source() const noexcept { return info_.source; }
  const std::string& description() const noexcept { return info_.description; }

 private:
  ErrorInfo info_;
};

}  // namespace platform
