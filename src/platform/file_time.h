#pragma once
// Windows file times (100-nanosecond ticks since 1601-01-01 UTC), the form in
// which every Env reports file times.

#include <chrono>
#include <cstdint>

namespace platform {

// Ticks between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000;

std::int64_t ToFileTime(std::chrono::system_clock::time_point time);
std::chrono::system_clock::time_point FromFileTime(std::int64_t file_time);

// Seconds and nanoseconds since 1970 (POSIX timespec fields), and back.
std::int64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
void FileTimeToUnix(std::int64_t file_time, std::int64_t& seconds, std::int64_t& nanoseconds);

}  // namespace platform
