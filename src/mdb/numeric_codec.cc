#include "mdb/numeric_codec.h"

#include <cmath>
#include <cstdio>

namespace mdb {
namespace {

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

constexpr std::int64_t kOleEpochToUnixDays = 25569;  // 1899-12-30 .. 1970-01-01

}  // namespace

std::string CurrencyToString(Currency value) {
  std::uint64_t magnitude = value.scaled < 0 ? 0 - static_cast<std::uint64_t>(value.scaled)
                                             : static_cast<std::uint64_t>(value.scaled);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%s%llu.%04llu", value.scaled < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return buffer;
}

std::string DecimalToString(const Decimal& value) {
  std::array<std::uint32_t, 4> words = value.magnitude;
  std::string digits;
  auto is_zero = [&] {
    for (auto w : words) {
      if (w != 0) return false;
    }
    return true;
  };
  while (!is_zero()) {
    std::uint64_t remainder = 0;
    for (auto& w : words) {
      std::uint64_t current = (remainder << 32) | w;
      w = static_cast<std::uint32_t>(current / 10);
      remainder = current % 10;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + remainder));
  }
  if (digits.size() <= value.scale) digits.insert(0, value.scale + 1 - digits.size(), '0');
  if (value.scale > 0) digits.insert(digits.end() - value.scale, '.');
  bool zero = digits.find_first_not_of("0.") == std::string::npos;
  if (value.negative && !zero) digits.insert(digits.begin(), '-');
  return digits;
}

DateParts SplitOleDate(double ole) {
  DateParts parts;
  if (!std::isfinite(ole) || std::fabs(ole) > 3.0e6) return parts;
  // Negative OLE dates count days backwards but the time forwards.
  double whole = std::trunc(ole);
  double fraction = std::fabs(ole - whole);
  auto ms = static_cast<std::int64_t>(std::llround(fraction * 86400000.0));
  auto days = static_cast<std::int64_t>(whole);
  if (ms >= 86400000) {
    ms -= 86400000;
    days += ole < 0 ? -1 : 1;
  }
  CivilFromDays(days - kOleEpochToUnixDays, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(ms / 3600000);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

std::string DateToIso8601(Date value) {
  DateParts p = SplitOleDate(value.ole);
  char buffer[48];
  int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month,
                        p.day, p.hour, p.minute, p.second);
  if (p.millisecond != 0 && n > 0) {
    std::snprintf(buffer + n, sizeof buffer - static_cast<std::size_t>(n), ".%03d", p.millisecond);
  }
  return buffer;
}

std::string GuidToString(const Guid& value) {
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  std::string out = "{";
  char hex[3];
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    std::snprintf(hex, sizeof hex, "%02X", value.bytes[kOrder[i]]);
    out += hex;
  }
  out += '}';
  return out;
}

}  // namespace mdb
