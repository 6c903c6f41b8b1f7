#include "IconCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "image/CImageBuffer.h"

namespace qv {

namespace {

struct Rgb {
  uint8_t red, green, blue;
};

constexpr Rgb kPalette[kColorCount] = {
    {255, 255, 255},  // kClear (transparent)
    {32, 32, 48},     // kInk
    {96, 96, 104},    // kShadow
    {168, 168, 172},  // kDisabled
    {255, 255, 255},  // kPaper
    {30, 90, 200},    // kBlue
    {150, 190, 245},  // kLightBlue
    {250, 210, 80},   // kYellow
    {190, 140, 30},   // kDarkYellow
    {40, 150, 60},    // kGreen
    {210, 40, 40},    // kRed
    {128, 128, 128},  // kDots
};

int64_t edge(int ax, int ay, int bx, int by, int px, int py) {
  return int64_t{bx - ax} * (py - ay) - int64_t{by - ay} * (px - ax);
}

}  // namespace

IconCanvas::IconCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, kClear) {}

void IconCanvas::set(int x, int y, uint8_t color) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) {
    pixels_[static_cast<size_t>(y) * width_ + x] = color;
  }
}

void IconCanvas::fillRect(int x0, int y0, int x1, int y1, uint8_t color) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      set(x, y, color);
    }
  }
}

void IconCanvas::frameRect(int x0, int y0, int x1, int y1, uint8_t color) {
  line(x0, y0, x1, y0, color);
  line(x0, y1, x1, y1, color);
  line(x0, y0, x0, y1, color);
  line(x1, y0, x1, y1, color);
}

void IconCanvas::line(int x0, int y0, int x1, int y1, uint8_t color) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    set(x0, y0, color);
    if (x0 == x1 && y0 == y1) {
      return;
    }
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void IconCanvas::fillTriangle(int x0, int y0, int x1, int y1, int x2, int y2, uint8_t color,
                              uint8_t outline) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const int64_t a = edge(x0, y0, x1, y1, x, y);
      const int64_t b = edge(x1, y1, x2, y2, x, y);
      const int64_t c = edge(x2, y2, x0, y0, x, y);
      if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) {
        set(x, y, color);
      }
    }
  }
  if (outline != kClear) {
    line(x0, y0, x1, y1, outline);
    line(x1, y1, x2, y2, outline);
    line(x2, y2, x0, y0, outline);
  }
}

void IconCanvas::fillCircle(int cx, int cy, int radius, uint8_t color) {
  for (int y = cy - radius; y <= cy + radius; ++y) {
    for (int x = cx - radius; x <= cx + radius; ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius + radius / 2) {
        set(x, y, color);
      }
    }
  }
}

void IconCanvas::ring(int cx, int cy, int radius, uint8_t color) {
  for (int y = cy - radius - 1; y <= cy + radius + 1; ++y) {
    for (int x = cx - radius - 1; x <= cx + radius + 1; ++x) {
      const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (d <= radius * radius + radius && d >= (radius - 1) * (radius - 1)) {
        set(x, y, color);
      }
    }
  }
}

void IconCanvas::dottedLine(int x0, int y0, int x1, int y1, uint8_t color) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
      if ((x + y) % 2 == 0) {
        set(x, y, color);
      }
    }
  }
}

void IconCanvas::recolor(uint8_t from, uint8_t to) {
  std::replace(pixels_.begin(), pixels_.end(), from, to);
}

bool IconCanvas::save(const std::filesystem::path& file) const {
  CImageBuffer image;
  if (!image.create(width_, height_, 8)) {
    return false;
  }
  auto palette = image.palette();
  for (size_t i = 0; i < kColorCount && i < palette.size(); ++i) {
    palette[i] = {kPalette[i].blue, kPalette[i].green, kPalette[i].red, 0};
  }
  for (int y = 0; y < height_; ++y) {
    // Rows are stored bottom row first.
    uint8_t* row = image.row(height_ - 1 - y);
    for (int x = 0; x < width_; ++x) {
      row[x] = at(x, y);
    }
  }
  image.setTransparentIndex(kClear);
  return image.saveFile(file, ImageFormat::Gif);
}

}  // namespace qv
