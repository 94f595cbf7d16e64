#include "mdb/text_codec.h"
#include "platform/utf8.h"

#include <array>
#include <vector>

namespace mdb {
namespace {

// Windows-1252 characters of the bytes 0x80-0x9F; the five unassigned bytes
// keep their C1 code points so that every byte converts and back.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Unit(std::span<const std::byte> bytes, std::size_t i) {
  return static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                               (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
}

}  // namespace

std::string Utf16LeToUtf8(std::span<const std::byte> bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  std::size_t units = bytes.size() / 2;
  for (std::size_t u = 0; u < units; ++u) {
    char16_t c = Unit(bytes, u * 2);
    if (c >= 0xD800 && c < 0xDC00 && u + 1 < units) {
      char16_t low = Unit(bytes, (u + 1) * 2);
      if (low >= 0xDC00 && low < 0xE000) {
        platform::AppendUtf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (low - 0xDC00));
        ++u;
        continue;
      }
    }
    platform::AppendUtf8(out, (c >= 0xD800 && c < 0xE000) ? char32_t{0xFFFD} : char32_t{c});
  }
  return out;
}

std::string DecompressUnicode(std::span<const std::byte> bytes) {
  std::string out;
  bool compressed = true;
  std::size_t run_start = 0;
  auto flush = [&](std::size_t end) {
    if (compressed) {
      for (std::size_t i = run_start; i < end; ++i) {
        platform::AppendUtf8(out, static_cast<std::uint8_t>(bytes[i]));
      }
    } else {
      out += Utf16LeToUtf8(bytes.subspan(run_start, (end - run_start) & ~std::size_t{1}));
    }
  };
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == std::byte{0}) {
      flush(i);
      compressed = !compressed;
      run_start = i + 1;
    }
  }
  flush(bytes.size());
  return out;
}

std::string CodePageToUtf8(std::span<const std::byte> bytes, std::uint16_t /*code_page*/) {
  std::string out;
  out.reserve(bytes.size());
  for (std::byte b : bytes) {
    auto c = static_cast<std::uint8_t>(b);
    platform::AppendUtf8(out,
                         (c >= 0x80 && c < 0xA0) ? char32_t{kCp1252High[c - 0x80]} : char32_t{c});
  }
  return out;
}

std::string TextCodec::DecodeValue(std::span<const std::byte> bytes) const {
  if (!jet4_) return CodePageToUtf8(bytes, code_page_);
  if (bytes.size() >= 2 && bytes[0] == std::byte{0xFF} && bytes[1] == std::byte{0xFE}) {
    return DecompressUnicode(bytes.subspan(2));
  }
  return Utf16LeToUtf8(bytes);
}

std::string TextCodec::DecodeName(std::span<const std::byte> bytes) const {
  return jet4_ ? Utf16LeToUtf8(bytes) : CodePageToUtf8(bytes, code_page_);
}

}  // namespace mdb
