// The window as defined: its controls in order, and the GIF pictures of the
// three buttons.

#include "shell/window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

struct ControlCase {
  const char* name;
  const char* kind;
  const char* caption;
  int help_id;
};

TEST(MainWindowTest, ControlsInTheirDefinitionOrder) {
  const ControlCase expected[] = {
      {"MainFrame", "Frame", "", 0},
      {"CommandOK", "CommandButton", "", 1},
      {"CommandCancel", "CommandButton", "", 2},
      {"CommandQuest", "CommandButton", "", 0},
      {"Header", "Label", "316_Orlix - Konfiguration Düsenbeleimung 316", 0},
  };
  const shell::Window w = shell::MakeMainWindow();
  EXPECT_EQ(w.name, "frm_316_Orlix_config_Exe");
  EXPECT_EQ(w.caption, "Base KV9CFG-Erweiterung");
  ASSERT_EQ(w.controls.size(), std::size(expected));
  for (std::size_t i = 0; i < w.controls.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(w.controls[i].name, expected[i].name);
    EXPECT_EQ(w.controls[i].kind, expected[i].kind);
    EXPECT_EQ(w.controls[i].caption, expected[i].caption);
    EXPECT_EQ(w.controls[i].help_id, expected[i].help_id);
    EXPECT_EQ(w.controls[i].tag, "");
    EXPECT_FALSE(w.controls[i].index.has_value());
  }
}

// A minimal GIF reader: the logical screen, the transparent colour of the
// graphic control extension and the LZW-decoded pixel indexes of the image.
struct DecodedGif {
  int width = 0;
  int height = 0;
  bool has_transparency = false;
  int transparent_index = -1;
  int colours = 0;
  std::vector<int> pixels;
};

class GifReader {
 public:
  explicit GifReader(const std::string& bytes) : b_(bytes) {}

  DecodedGif Read() {
    DecodedGif g;
    EXPECT_EQ(b_.substr(0, 6), "GIF89a");
    pos_ = 6;
    g.width = Word();
    g.height = Word();
    const int flags = Byte();
    Byte();  // background colour
    Byte();  // aspect
    if (flags & 0x80) {
      g.colours = 1 << ((flags & 7) + 1);
      pos_ += 3 * static_cast<std::size_t>(g.colours);
    }
    while (pos_ < b_.size()) {
      const int block = Byte();
      if (block == 0x3B) break;
      if (block == 0x21) {
        const int label = Byte();
        if (label == 0xF9) {
          Byte();  // size 4
          const int packed = Byte();
          Word();
          g.transparent_index = Byte();
          g.has_transparency = (packed & 1) != 0;
          Byte();
        } else {
          SkipSubBlocks();
        }
      } else if (block == 0x2C) {
        Word();
        Word();
        const int w = Word();
        const int h = Word();
        EXPECT_EQ(w, g.width);
        EXPECT_EQ(h, g.height);
        EXPECT_EQ(Byte() & 0x80, 0);  // no local table
        const int min_code_size = Byte();
        std::string data;
        for (int n = Byte(); n != 0; n = Byte()) {
          data += b_.substr(pos_, static_cast<std::size_t>(n));
          pos_ += static_cast<std::size_t>(n);
        }
        g.pixels = Lzw(data, min_code_size);
      } else {
        ADD_FAILURE() << "unknown block " << block;
        break;
      }
    }
    return g;
  }

 private:
  int Byte() { return pos_ < b_.size() ? static_cast<unsigned char>(b_[pos_++]) : 0; }
  int Word() {
    const int lo = Byte();
    return lo | (Byte() << 8);
  }
  void SkipSubBlocks() {
    for (int n = Byte(); n != 0; n = Byte()) pos_ += static_cast<std::size_t>(n);
  }

  static std::vector<int> Lzw(const std::string& data, int min_code_size) {
    const int clear = 1 << min_code_size;
    const int end = clear + 1;
    std::vector<std::vector<int>> table;
    auto reset = [&] {
      table.clear();
      for (int i = 0; i < clear + 2; ++i) table.push_back({i});
    };
    reset();
    int width = min_code_size + 1;
    std::size_t bit = 0;
    std::vector<int> out;
    int previous = -1;
    while (bit + static_cast<std::size_t>(width) <= data.size() * 8) {
      int code = 0;
      for (int i = 0; i < width; ++i, ++bit)
        if (static_cast<unsigned char>(data[bit / 8]) & (1 << (bit % 8))) code |= 1 << i;
      if (code == clear) {
        reset();
        width = min_code_size + 1;
        previous = -1;
        continue;
      }
      if (code == end) break;
      std::vector<int> entry;
      if (code < static_cast<int>(table.size())) {
        entry = table[static_cast<std::size_t>(code)];
      } else if (previous >= 0 && code == static_cast<int>(table.size())) {
        entry = table[static_cast<std::size_t>(previous)];
        entry.push_back(entry.front());
      } else {
        ADD_FAILURE() << "bad LZW code " << code;
        break;
      }
      out.insert(out.end(), entry.begin(), entry.end());
      if (previous >= 0 && table.size() < 4096) {
        auto grown = table[static_cast<std::size_t>(previous)];
        grown.push_back(entry.front());
        table.push_back(grown);
      }
      if (static_cast<int>(table.size()) == (1 << width) && width < 12) ++width;
      previous = code;
    }
    return out;
  }

  const std::string& b_;
  std::size_t pos_ = 0;
};

struct PictureCase {
  const char* control;
  int width;
  int height;
};

class ButtonPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ButtonPictureTest, DecodesToItsSizeWithATransparentBackgroundAndSomeInk) {
  const PictureCase& c = GetParam();
  shell::Window w = shell::MakeMainWindow();
  const DecodedGif g = GifReader(w.Find(c.control).picture).Read();
  EXPECT_EQ(g.width, c.width);
  EXPECT_EQ(g.height, c.height);
  ASSERT_EQ(g.pixels.size(), static_cast<std::size_t>(c.width * c.height));
  ASSERT_TRUE(g.has_transparency);
  std::map<int, int> counts;
  for (int p : g.pixels) {
    ASSERT_LT(p, g.colours);
    ++counts[p];
  }
  // The corners are background, and the drawing covers a fair part of the picture.
  EXPECT_EQ(g.pixels.front(), g.transparent_index);
  EXPECT_EQ(g.pixels.back(), g.transparent_index);
  const int ink = c.width * c.height - counts[g.transparent_index];
  EXPECT_GT(ink, c.width * c.height / 20);
  EXPECT_LT(ink, c.width * c.height / 2);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonPictureTest,
                         ::testing::Values(PictureCase{"CommandOK", 44, 36},
                                           PictureCase{"CommandCancel", 37, 39},
                                           PictureCase{"CommandQuest", 41, 45}));

TEST(MainWindowTest, FrameAndLabelHaveNoPicture) {
  shell::Window w = shell::MakeMainWindow();
  EXPECT_TRUE(w.Find("MainFrame").picture.empty());
  EXPECT_TRUE(w.Find("Header").picture.empty());
}

}  // namespace
