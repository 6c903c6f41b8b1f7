#pragma once

// A 24-bit drawing surface in memory, backed by a cairo image surface: the few drawing
// operations the page painter needs (fill, polygon regions, rectangle-list clip, pen lines,
// stretched colour-keyed pixel copies, rotated text) and saving as a 24-bit BMP file.
//
// Coordinates are integer pixels, origin at the top-left corner, y growing downwards; a
// pixel (x, y) covers the square from (x, y) to (x + 1, y + 1). Colours are 0x00BBGGRR
// (red in the low byte). A Canvas owns its pixels and its font cache; it is used on one
// thread at a time and freed with its unique_ptr.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/FontFaceCache.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace qv {

struct CanvasPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// A rectangle with exclusive right and bottom edges.
struct CanvasRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

enum class CanvasFillRule { EvenOdd, Winding };

// A font described as the window system describes one.
struct CanvasFont {
  std::string face;      // family name; Arial, Times New Roman and Courier New map to Liberation
  int32_t height = 0;    // > 0: cell height (ascent + descent); < 0: em height; 0: nothing drawn
  int32_t width = 0;     // average character width; 0: the face's own proportions
  int32_t weight = 400;  // 700 and above draw the bold face
  bool italic = false;
  int32_t escapement = 0;  // baseline direction, tenths of a degree counter-clockwise
};

// A block of 32-bit pixels (blue, green, red, unused), as the page record stores images.
struct CanvasPixels {
  std::span<const uint8_t> bytes;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;     // bytes per row
  bool bottomUp = true;  // the first stored row is the bottom row
};

class Canvas {
 public:
  // Surfaces larger than this are refused: each side stays within cairo's coordinate range
  // and the pixel count caps the memory of the surface (4 bytes per pixel) and of its BMP.
  static constexpr int32_t kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;
  // Glyphs taller than this are not drawn: a larger one cannot fit on any page we accept,
  // and rasterising it would cost a mask of its full size.
  static constexpr int32_t kMaxTextHeight = 4096;
  // Text longer than this (in UTF-16 units) is cut; the page device draws one glyph a time.
  static constexpr size_t kMaxTextUnits = 4096;

  // A surface of width x height pixels, black, without clip; null for a zero, negative or
  // too large size or when the memory is not available.
  static std::unique_ptr<Canvas> create(int32_t width, int32_t height);

  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // Anti-aliasing of polygon edges, pen lines and text (on by default). Images are always
  // copied without smoothing.
  void setAntialias(bool on) { antialias_ = on; }
  bool antialias() const { return antialias_; }

  // Fills the whole surface, ignoring the clip.
  void fill(uint32_t color);

  // Fills the polygon's region under the rule; no outline. Fewer than 3 points draw nothing.
  void fillPolygon(std::span<const CanvasPoint> points, CanvasFillRule rule, uint32_t color);

  // Limits drawing to the union of the rectangles; an empty list lets nothing through.
  void setClip(std::span<const CanvasRect> rects);
  void removeClip();

  // A pen line with mitred joins and flat ends; width below 1 counts as 1.
  void drawLine(CanvasPoint from, CanvasPoint to, int32_t width, uint32_t color, bool dashed);

  // Stretches the pixels to the destination rectangle by nearest neighbour and copies every
  // pixel except those equal to the transparent colour. Pixel blocks whose bytes do not
  // hold width x height rows of the stride are not drawn.
  void drawPixels(const CanvasPixels& pixels, CanvasRect dest, uint32_t transparent);

  // Draws the text with its baseline starting at origin, rotated by the font's escapement.
  // Answers false when nothing was drawn for want of a font or a usable size.
  bool drawText(const CanvasFont& font, CanvasPoint origin, std::u16string_view text,
                uint32_t color);

  // The colour of one pixel (0 outside the surface).
  uint32_t pixel(int32_t x, int32_t y) const;

  // Writes a 24-bit BMP file ("BM" header, 40-byte info header, bottom row first, rows
  // padded to 4 bytes). False when the file cannot be written completely.
  bool saveBmp(const std::filesystem::path& file) const;

 private:
  Canvas(cairo_surface_t* surface, cairo_t* cr, int32_t width, int32_t height);
  void setColor(uint32_t color);
  void applyAntialias();

  cairo_surface_t* surface_;
  cairo_t* cr_;
  int32_t width_;
  int32_t height_;
  bool antialias_ = true;
  FontFaceCache fonts_;
};

}  // namespace qv
