#include "shell/gif_image.h"

#include <map>
#include <utility>

namespace shell {
namespace {

constexpr int kMaxCode = 4095;

class BitWriter {
 public:
  void Write(int code, int size) {
    buffer_ |= static_cast<std::uint32_t>(code) << filled_;
    filled_ += size;
    while (filled_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (filled_ > 0) bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
    return std::move(bytes_);
  }

 private:
  std::uint32_t buffer_ = 0;
  int filled_ = 0;
  std::vector<std::uint8_t> bytes_;
};

void PutWord(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> LzwCompress(std::span<const std::uint8_t> indices, int min_code_size) {
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  BitWriter writer;
  int code_size = min_code_size + 1;
  int last_code = end;  // the highest code in the table
  std::map<std::pair<int, int>, int> table;
  writer.Write(clear, code_size);
  if (indices.empty()) {
    writer.Write(end, code_size);
    return writer.Finish();
  }

  // The decoder adds one table entry per code after the first, so the code
  // size grows in step with the table on both sides.
  auto note_entry = [&] {
    ++last_code;
    if (last_code >= (1 << code_size) && code_size < 12) ++code_size;
  };

  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const int next = indices[i];
    if (const auto found = table.find({prefix, next}); found != table.end()) {
      prefix = found->second;
      continue;
    }
    writer.Write(prefix, code_size);
    table[{prefix, next}] = last_code + 1;
    note_entry();
    if (last_code == kMaxCode) {
      writer.Write(clear, code_size);
      table.clear();
      code_size = min_code_size + 1;
      last_code = end;
    }
    prefix = next;
  }
  writer.Write(prefix, code_size);
  note_entry();
  writer.Write(end, code_size);
  return writer.Finish();
}

std::string EncodeGif(const IndexedImage& image) {
  constexpr int kMinCodeSize = 2;
  std::string out = "GIF89a";
  PutWord(out, image.width);
  PutWord(out, image.height);
  out += static_cast<char>(0x80 | 0x10 | 0x01);  // global palette of 4 colours, 2 bits each
  out += '\0';                                   // background colour index
  out += '\0';                                   // square pixels
  for (const Rgb& colour : image.palette) {
    out += static_cast<char>(colour.red);
    out += static_cast<char>(colour.green);
    out += static_cast<char>(colour.blue);
  }
  // Graphic control extension: colour 0 is transparent.
  out += "\x21\xF9\x04\x01";
  PutWord(out, 0);
  out += '\0';
  out += '\0';
  // Image descriptor, no local palette, not interlaced.
  out += '\x2C';
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, image.width);
  PutWord(out, image.height);
  out += '\0';
  out += static_cast<char>(kMinCodeSize);
  const std::vector<std::uint8_t> data = LzwCompress(image.pixels, kMinCodeSize);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, data.size() - at);
    out += static_cast<char>(length);
    out.append(reinterpret_cast<const char*>(data.data() + at), length);
  }
  out += '\0';    // end of the image data
  out += '\x3B';  // trailer
  return out;
}

}  // namespace shell
