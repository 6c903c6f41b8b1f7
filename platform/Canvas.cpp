#include "platform/Canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "platform/Utf8.h"

namespace qv {

namespace {

// Polygon corners beyond this distance from the page are pulled in to it: cairo keeps
// coordinates in 24.8 fixed point, and a corner this far away only changes the slope of an
// edge by less than a pixel across any surface we accept.
constexpr double kCoordLimit = 1 << 22;

double clampCoord(int32_t v) {
  return std::clamp(static_cast<double>(v), -kCoordLimit, kCoordLimit);
}

// Keeps the part of the segment inside the box (Liang-Barsky); false when nothing is left.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double minX, double minY,
                 double maxX, double maxY) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - minX, maxX - x1, y1 - minY, maxY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) {
        return false;
      }
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) {
      return false;
    }
  }
  const double ox = x1;
  const double oy = y1;
  x1 = ox + t0 * dx;
  y1 = oy + t0 * dy;
  x2 = ox + t1 * dx;
  y2 = oy + t1 * dy;
  return true;
}

void putLE16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void putLE32(uint8_t* p, uint32_t v) {
  putLE16(p, v);
  putLE16(p + 2, v >> 16);
}

}  // namespace

std::unique_ptr<Canvas> Canvas::create(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<int64_t>(width) * height > kMaxPixels) {
    return nullptr;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_t* cr = cairo_create(surface);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::unique_ptr<Canvas>(new Canvas(surface, cr, width, height));
}

Canvas::Canvas(cairo_surface_t* surface, cairo_t* cr, int32_t width, int32_t height)
    : surface_(surface), cr_(cr), width_(width), height_(height) {
  cairo_set_source_rgb(cr_, 0, 0, 0);
  cairo_paint(cr_);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::setColor(uint32_t color) {
  cairo_set_source_rgb(cr_, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                       ((color >> 16) & 0xFF) / 255.0);
}

void Canvas::applyAntialias() {
  cairo_set_antialias(cr_, antialias_ ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

void Canvas::fill(uint32_t color) {
  cairo_save(cr_);
  cairo_reset_clip(cr_);
  setColor(color);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void Canvas::fillPolygon(std::span<const CanvasPoint> points, CanvasFillRule rule, uint32_t color) {
  if (points.size() < 3) {
    return;
  }
  applyAntialias();
  cairo_new_path(cr_);
  cairo_move_to(cr_, clampCoord(points[0].x), clampCoord(points[0].y));
  for (size_t i = 1; i < points.size(); ++i) {
    cairo_line_to(cr_, clampCoord(points[i].x), clampCoord(points[i].y));
  }
  cairo_close_path(cr_);
  cairo_set_fill_rule(
      cr_, rule == CanvasFillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  setColor(color);
  cairo_fill(cr_);
}

void Canvas::setClip(std::span<const CanvasRect> rects) {
  cairo_reset_clip(cr_);
  cairo_new_path(cr_);
  for (const CanvasRect& r : rects) {
    const int32_t left = std::clamp(r.left, 0, width_);
    const int32_t right = std::clamp(r.right, 0, width_);
    const int32_t top = std::clamp(r.top, 0, height_);
    const int32_t bottom = std::clamp(r.bottom, 0, height_);
    if (left < right && top < bottom) {
      cairo_rectangle(cr_, left, top, right - left, bottom - top);
    }
  }
  // Pixel-aligned rectangles clip exactly; the winding rule makes their union.
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_clip(cr_);
}

void Canvas::removeClip() {
  cairo_reset_clip(cr_);
}

void Canvas::drawLine(CanvasPoint from, CanvasPoint to, int32_t width, uint32_t color,
                      bool dashed) {
  const double w = std::clamp(width, 1, kMaxSide);
  // An odd-width pen centred on the pixel centres stays crisp along the axes; an even one is
  // centred on the pixel edges for the same reason.
  const double offset = (static_cast<int32_t>(w) % 2 == 1) ? 0.5 : 0.0;
  double x1 = from.x + offset;
  double y1 = from.y + offset;
  double x2 = to.x + offset;
  double y2 = to.y + offset;
  if (x1 == x2 && y1 == y2) {
    return;  // flat ends: a zero-length line leaves no mark
  }
  // Only the part near the surface is handed to cairo, so far-away ends cannot overflow its
  // fixed-point coordinates. Dashes of a cut line restart at the cut.
  const double margin = w + 2;
  if (!clipSegment(x1, y1, x2, y2, -margin, -margin, width_ + margin, height_ + margin)) {
    return;
  }
  applyAntialias();
  cairo_new_path(cr_);
  cairo_move_to(cr_, x1, y1);
  cairo_line_to(cr_, x2, y2);
  cairo_set_line_width(cr_, w);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  if (dashed) {
    // Dashes three pen widths long with one-width gaps, never shorter than 4 and 2 pixels.
    const double dashes[2] = {std::max(3 * w, 4.0), std::max(w, 2.0)};
    cairo_set_dash(cr_, dashes, 2, 0);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
  setColor(color);
  cairo_stroke(cr_);
  cairo_set_dash(cr_, nullptr, 0, 0);
}

void Canvas::drawPixels(const CanvasPixels& pixels, CanvasRect dest, uint32_t transparent) {
  if (pixels.width <= 0 || pixels.height <= 0) {
    return;
  }
  const uint64_t rowBytes = static_cast<uint64_t>(pixels.width) * 4;
  if (pixels.stride < rowBytes ||
      pixels.bytes.size() <
          static_cast<uint64_t>(pixels.stride) * (static_cast<uint64_t>(pixels.height) - 1) +
              rowBytes) {
    return;
  }
  const int64_t destW = static_cast<int64_t>(dest.right) - dest.left;
  const int64_t destH = static_cast<int64_t>(dest.bottom) - dest.top;
  if (destW <= 0 || destH <= 0) {
    return;
  }
  // Only the part of the destination on the surface is built.
  const int32_t visLeft = std::max(dest.left, 0);
  const int32_t visTop = std::max(dest.top, 0);
  const int32_t visRight = std::min(dest.right, width_);
  const int32_t visBottom = std::min(dest.bottom, height_);
  if (visLeft >= visRight || visTop >= visBottom) {
    return;
  }
  const int32_t visW = visRight - visLeft;
  const int32_t visH = visBottom - visTop;
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, visW, visH);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return;
  }
  // Nearest neighbour: destination pixel d takes source pixel floor(d * source / dest).
  std::vector<size_t> columnOffset(visW);
  for (int32_t x = 0; x < visW; ++x) {
    const int64_t d = static_cast<int64_t>(visLeft) - dest.left + x;
    columnOffset[x] = static_cast<size_t>(d * pixels.width / destW) * 4;
  }
  uint8_t* data = cairo_image_surface_get_data(tile);
  const int tileStride = cairo_image_surface_get_stride(tile);
  for (int32_t y = 0; y < visH; ++y) {
    const int64_t d = static_cast<int64_t>(visTop) - dest.top + y;
    const int64_t srcRow = d * pixels.height / destH;
    const int64_t storedRow = pixels.bottomUp ? pixels.height - 1 - srcRow : srcRow;
    const uint8_t* src = pixels.bytes.data() + static_cast<size_t>(storedRow) * pixels.stride;
    auto* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * tileStride);
    for (int32_t x = 0; x < visW; ++x) {
      const uint8_t* p = src + columnOffset[x];
      const uint32_t bgr = p[2] | (uint32_t{p[1]} << 8) | (uint32_t{p[0]} << 16);
      out[x] = bgr == transparent
                   ? 0
                   : 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
  }
  cairo_surface_mark_dirty(tile);
  cairo_save(cr_);
  cairo_set_source_surface(cr_, tile, visLeft, visTop);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr_, visLeft, visTop, visW, visH);
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(tile);
}

bool Canvas::drawText(const CanvasFont& font, CanvasPoint origin, std::u16string_view text,
                      uint32_t color) {
  if (font.height == 0 || font.height < -kMaxTextHeight || font.height > kMaxTextHeight ||
      text.empty()) {
    return false;
  }
  const FontFaceCache::Entry* entry = fonts_.find(font.face, font.weight >= 600, font.italic);
  if (entry == nullptr) {
    entry = fonts_.find("Arial", font.weight >= 600, font.italic);
  }
  if (entry == nullptr) {
    return false;
  }
  // A positive height is the cell height (ascent + descent), a negative one the em height.
  const double em = font.height > 0 ? font.height / entry->metrics.cellHeight : -font.height;
  double emX = em;
  if (font.width != 0) {
    emX = std::abs(static_cast<double>(font.width)) / entry->metrics.avgCharWidth;
  }
  if (emX > 4.0 * kMaxTextHeight) {
    return false;
  }
  const std::string utf8 = Utf16ToUtf8(text.substr(0, kMaxTextUnits));

  cairo_save(cr_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options,
                                   antialias_ ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
  cairo_set_font_face(cr_, entry->face);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, emX, em);
  cairo_set_font_matrix(cr_, &matrix);
  cairo_translate(cr_, origin.x, origin.y);
  // Escapement turns counter-clockwise as seen on the page; y grows downwards here.
  cairo_rotate(cr_, -(font.escapement % 3600) * std::numbers::pi / 1800.0);
  setColor(color);
  cairo_new_path(cr_);
  cairo_move_to(cr_, 0, 0);
  cairo_show_text(cr_, utf8.c_str());
  cairo_restore(cr_);
  return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

uint32_t Canvas::pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return 0;
  }
  cairo_surface_flush(surface_);
  const uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  const uint32_t rgb = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x];
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

bool Canvas::saveBmp(const std::filesystem::path& file) const {
  cairo_surface_flush(surface_);
  const uint32_t rowBytes = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height_);
  constexpr uint32_t kHeaderBytes = 14 + 40;
  constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch, the page resolution

  uint8_t header[kHeaderBytes] = {'B', 'M'};
  putLE32(header + 2, kHeaderBytes + imageBytes);
  putLE32(header + 10, kHeaderBytes);
  putLE32(header + 14, 40);
  putLE32(header + 18, static_cast<uint32_t>(width_));
  putLE32(header + 22, static_cast<uint32_t>(height_));
  putLE16(header + 26, 1);
  putLE16(header + 28, 24);
  putLE32(header + 34, imageBytes);
  putLE32(header + 38, kPixelsPerMetre);
  putLE32(header + 42, kPixelsPerMetre);

  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) {
    return false;
  }
  bool ok = std::fwrite(header, 1, kHeaderBytes, out) == kHeaderBytes;
  const uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::vector<uint8_t> row(rowBytes, 0);
  for (int32_t y = height_ - 1; ok && y >= 0; --y) {
    const auto* src = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int32_t x = 0; x < width_; ++x) {
      row[3 * x] = static_cast<uint8_t>(src[x]);
      row[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(src[x] >> 16);
    }
    ok = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
  }
  ok = (std::fclose(out) == 0) && ok;
  if (!ok) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  return ok;
}

}  // namespace qv
