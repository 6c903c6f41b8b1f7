#pragma once

// IconCanvas: a small palette-indexed drawing surface for the navigation images. Colour 0 is
// the transparent background; the other entries are a fixed palette shared by every icon, so
// the set looks consistent. The canvas owns its pixels; save() writes it as a GIF through
// CImageBuffer.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qv {

enum IconColor : uint8_t {
  kClear = 0,
  kInk,        // outlines
  kShadow,     // dark grey
  kDisabled,   // mid grey: the disabled look
  kPaper,      // white
  kBlue,       // the action colour
  kLightBlue,  // highlights and the pressed look
  kYellow,     // folders
  kDarkYellow,
  kGreen,  // history arrows
  kRed,    // bookmarks
  kDots,   // tree lines
  kColorCount,
};

class IconCanvas {
 public:
  IconCanvas(int width, int height);

  void set(int x, int y, uint8_t color);
  void fillRect(int x0, int y0, int x1, int y1, uint8_t color);  // inclusive corners
  void frameRect(int x0, int y0, int x1, int y1, uint8_t color);
  void line(int x0, int y0, int x1, int y1, uint8_t color);
  // Fills the triangle and outlines it with the outline colour (kClear: no outline).
  void fillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, uint8_t color, uint8_t outline);
  void fillCircle(int cx, int cy, int radius, uint8_t color);
  void ring(int cx, int cy, int radius, uint8_t color);
  // Every other pixel of a horizontal or vertical line, as the tree's dotted lines.
  void dottedLine(int x0, int y0, int x1, int y1, uint8_t color);
  // Replaces every pixel of one colour with another (for the disabled looks).
  void recolor(uint8_t from, uint8_t to);

  int width() const { return width_; }
  int height() const { return height_; }
  uint8_t at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  bool save(const std::filesystem::path& file) const;

 private:
  int width_;
  int height_;
  std::vector<uint8_t> pixels_;
};

}  // namespace qv
