#include "platform/file_time.h"

namespace platform {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;

std::int64_t ToFileTime(std::chrono::system_clock::time_point time) {
  return std::chrono::duration_cast<Ticks>(time.time_since_epoch()).count() + kFileTimeUnixEpoch;
}

std::chrono::system_clock::time_point FromFileTime(std::int64_t file_time) {
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          Ticks(file_time - kFileTimeUnixEpoch)));
}

std::int64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  return kFileTimeUnixEpoch + seconds * 10'000'000 + nanoseconds / 100;
}

void FileTimeToUnix(std::int64_t file_time, std::int64_t& seconds, std::int64_t& nanoseconds) {
  std::int64_t since_epoch = file_time - kFileTimeUnixEpoch;
  seconds = since_epoch / 10'000'000;
  std::int64_t rest = since_epoch % 10'000'000;
  if (rest < 0) {
    rest += 10'000'000;
    --seconds;
  }
  nanoseconds = rest * 100;
}

}  // namespace platform
