#pragma once

// The page record: a display list of one extracted page. The page device fills it in
// drawing order; the page writer and the page painter read it and never reach back into
// the engine. A record owns all its items and outlives the document handle it came from.
//
// Coordinates are integer device pixels at the record's resolution, origin at the top-left
// corner, y growing downwards. Colours are 0x00BBGGRR (red in the low byte).

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qv {

enum class PDFPageItemKind : uint32_t {
  Text = 0,
  Image = 1,
  Line = 2,
  Polygon = 3,
  Clip = 4,
};

// One drawn glyph.
struct PDFTextItem {
  int32_t x = 0;  // origin on the baseline
  int32_t y = 0;  // baseline
  std::u16string text;  // the glyph's Unicode text as UTF-16 units
  int32_t count = 0;    // number of UTF-16 units in text (normally 1)
  std::string fontName;  // the system face chosen for the glyph
  int32_t advance = 0;   // horizontal advance in pixels
  int32_t size = 0;      // font size in pixels
  int32_t bold = 0;      // 0 normal; 0x40000 from the font's flags, 1 from the font name
  int32_t italic = 0;    // 0 upright; 0x40 from the flags, 1 from the name or slanted text
  int32_t orientation = 0;  // text direction in tenths of a degree, 0..3599; 0 is horizontal
  uint32_t color = 0;
};

// The 40-byte device-independent bitmap header of an image item, field by field.
struct PDFBitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows are stored bottom row first
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

// One drawn image, as 32-bit pixels (blue, green, red, zero), rows padded to 4 bytes,
// bottom row first.
struct PDFImageItem {
  PDFBitmapInfoHeader header;
  // Entry 0 white, entry 1 the colour passed with the image, the rest 0; as 0x00RRGGBB
  // quads in blue, green, red, reserved byte order. Not consulted at 32 bits per pixel.
  std::array<uint32_t, 256> palette{};
  int32_t destX = 0;
  int32_t destY = 0;
  int32_t destWidth = 0;   // after clipping to the page
  int32_t destHeight = 0;
  std::vector<uint8_t> pixels;

  // Bytes per stored row: width * 4 (already a multiple of 4).
  size_t rowBytes() const { return static_cast<size_t>(header.width > 0 ? header.width : 0) * 4; }
};

// One straight segment of a stroked path or link border.
struct PDFLineItem {
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;
  int32_t width = 1;  // pen width in pixels, at least 1
  uint32_t color = 0;
  int32_t style = 0;  // 0 solid, 1 dashed
};

struct PDFPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PDFPoint&) const = default;
};

// One filled subpath.
struct PDFPolygonItem {
  std::vector<PDFPoint> points;
  int32_t fillMode = 1;  // 1 even-odd (alternate), 2 nonzero winding
  uint32_t color = 0;
};

struct PDFRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;  // exclusive
  int32_t bottom = 0;  // exclusive
  bool operator==(const PDFRect&) const = default;
};

// A clip region: its bounding rectangle and its non-overlapping rectangles.
struct PDFClipItem {
  PDFRect bounds;
  std::vector<PDFRect> rects;
};

// A page item: its kind and the payload that matches it. A Clip item without payload
// (std::monostate) removes the clip.
struct PDFPageItem {
  using Payload =
      std::variant<std::monostate, PDFTextItem, PDFImageItem, PDFLineItem, PDFPolygonItem, PDFClipItem>;

  PDFPageItemKind kind = PDFPageItemKind::Clip;
  Payload payload;

  static PDFPageItem text(PDFTextItem item) { return {PDFPageItemKind::Text, std::move(item)}; }
  static PDFPageItem image(PDFImageItem item) { return {PDFPageItemKind::Image, std::move(item)}; }
  static PDFPageItem line(PDFLineItem item) { return {PDFPageItemKind::Line, std::move(item)}; }
  static PDFPageItem polygon(PDFPolygonItem item) {
    return {PDFPageItemKind::Polygon, std::move(item)};
  }
  static PDFPageItem clip(PDFClipItem item) { return {PDFPageItemKind::Clip, std::move(item)}; }
  static PDFPageItem removeClip() { return {PDFPageItemKind::Clip, std::monostate{}}; }

  // The payload of the given type, or null when the item holds another one.
  template <typename T>
  const T* as() const {
    return std::get_if<T>(&payload);
  }
};

struct PDFPageRecord {
  int32_t width = 0;   // page width in device pixels
  int32_t height = 0;  // page height in device pixels
  int32_t pageNumber = 0;  // 1-based page that was extracted
  int32_t pageCount = 0;
  int32_t resolution = 72;
  float pdfVersion = 0;  // from the file header, e.g. 1.4
  std::vector<PDFPageItem> items;
};

}  // namespace qv
