#pragma once
// A small GIF89a writer for the button pictures: one image, a four-colour
// palette whose colour 0 is transparent, LZW-compressed pixel data.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace shell {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// A picture of palette indices 0..3, row by row.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::array<Rgb, 4> palette{};
  std::vector<std::uint8_t> pixels;  // width * height indices
};

// The LZW code stream of the pixels as GIF packs it (codes LSB first), before
// it is cut into sub-blocks.
std::vector<std::uint8_t> LzwCompress(std::span<const std::uint8_t> indices, int min_code_size);

// The whole GIF file, with palette index 0 as the transparent colour.
std::string EncodeGif(const IndexedImage& image);

}  // namespace shell
