#include "shell/button_pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace shell {
namespace {

constexpr Rgb kBackground{0xC0, 0xC0, 0xC0};  // the window's grey, transparent
constexpr std::uint8_t kInk = 1;

struct Point {
  double x, y;
};

IndexedImage BlankImage(int width, int height, Rgb ink) {
  IndexedImage image;
  image.width = width;
  image.height = height;
  image.palette = {kBackground, ink, Rgb{0x80, 0x80, 0x80}, Rgb{0xFF, 0xFF, 0xFF}};
  image.pixels.assign(static_cast<std::size_t>(width * height), 0);
  return image;
}

double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
  t = std::clamp(t, 0.0, 1.0);
  const double cx = a.x + t * dx - p.x, cy = a.y + t * dy - p.y;
  return std::sqrt(cx * cx + cy * cy);
}

// Inks every pixel whose centre lies within half the thickness of the segment.
void Stroke(IndexedImage& image, Point a, Point b, double thickness) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (DistanceToSegment({x + 0.5, y + 0.5}, a, b) <= thickness / 2) {
        image.pixels[static_cast<std::size_t>(y * image.width + x)] = kInk;
      }
    }
  }
}

void Polyline(IndexedImage& image, std::initializer_list<Point> points, double thickness) {
  for (auto it = points.begin(); std::next(it) != points.end(); ++it) {
    Stroke(image, *it, *std::next(it), thickness);
  }
}

// An arc of a circle, from one angle to another (degrees, clockwise on screen).
void Arc(IndexedImage& image, Point centre, double radius, double from, double to,
         double thickness) {
  constexpr int kSteps = 24;
  Point last{};
  for (int step = 0; step <= kSteps; ++step) {
    const double angle = (from + (to - from) * step / kSteps) * std::numbers::pi / 180;
    const Point here{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
    if (step > 0) Stroke(image, last, here, thickness);
    last = here;
  }
}

}  // namespace

IndexedImage DrawTick() {
  IndexedImage image = BlankImage(44, 36, Rgb{0x00, 0xA0, 0x00});
  Polyline(image, {{5, 19}, {16, 30}, {39, 6}}, 5);
  return image;
}

IndexedImage DrawCross() {
  IndexedImage image = BlankImage(37, 39, Rgb{0xE0, 0x00, 0x00});
  Stroke(image, {6, 6}, {31, 33}, 5);
  Stroke(image, {31, 6}, {6, 33}, 5);
  return image;
}

IndexedImage DrawQuestion() {
  IndexedImage image = BlankImage(41, 45, Rgb{0x00, 0x00, 0x00});
  Arc(image, {25, 12}, 7, 180, 450, 3.5);              // the bow, round to below its centre
  Polyline(image, {{25, 19}, {25, 25}}, 3.5);          // the stem
  Stroke(image, {25, 30}, {25, 31}, 4);                // the dot
  Stroke(image, {15, 28}, {4, 40}, 2.5);               // the arrow's shaft
  Polyline(image, {{4, 32}, {4, 40}, {12, 40}}, 2.5);  // its head, pointing lower left
  return image;
}

std::string TickPicture() {
  return EncodeGif(DrawTick());
}
std::string CrossPicture() {
  return EncodeGif(DrawCross());
}
std::string QuestionPicture() {
  return EncodeGif(DrawQuestion());
}

}  // namespace shell
