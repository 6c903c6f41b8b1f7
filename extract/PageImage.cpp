#include "extract/PageImage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "image/CImageBuffer.h"
#include "platform/Canvas.h"

namespace qv {

namespace {

// Image pixels of exactly this colour are left out. The page device turns the white pixels
// of images into a near-white, so only the pixels it marks as see-through carry it.
constexpr uint32_t kTransparentColor = 0x00FFFFFF;

void paintText(Canvas& surface, const PDFTextItem& text) {
  // Horizontal text is written as HTML text over the image, never painted.
  if (text.orientation == 0) {
    return;
  }
  CanvasFont font;
  font.face = text.fontName;
  font.height = text.size;
  // The face keeps its own proportions. The recorded advance is only the horizontal part of
  // the glyph's advance, which shrinks with the rotation (and turns negative past 90
  // degrees), so a width derived from it squeezes each rotated glyph by its own amount.
  font.width = 0;
  font.weight = text.bold != 0 ? 700 : 400;
  font.italic = (text.italic & 0xFF) != 0;
  font.escapement = text.orientation;
  const size_t units =
      text.count > 0 ? std::min(static_cast<size_t>(text.count), text.text.size()) : 0;
  surface.drawText(font, {text.x, text.y}, std::u16string_view(text.text).substr(0, units),
                   text.color);
}

void paintImage(Canvas& surface, const PDFImageItem& image) {
  const int32_t height = image.header.height;
  if (image.header.bitCount != 32 || image.header.width <= 0 || height == 0 ||
      height == INT32_MIN) {
    return;
  }
  CanvasPixels pixels;
  pixels.bytes = image.pixels;
  pixels.width = image.header.width;
  // A negative height is the top-down row order of device-independent bitmaps.
  pixels.height = std::abs(height);
  pixels.bottomUp = height > 0;
  pixels.stride = image.rowBytes();
  const int64_t right = static_cast<int64_t>(image.destX) + image.destWidth;
  const int64_t bottom = static_cast<int64_t>(image.destY) + image.destHeight;
  if (right > INT32_MAX || bottom > INT32_MAX) {
    return;
  }
  const CanvasRect dest{image.destX, image.destY, static_cast<int32_t>(right),
                        static_cast<int32_t>(bottom)};
  surface.drawPixels(pixels, dest, kTransparentColor);
}

void paintPolygon(Canvas& surface, const PDFPolygonItem& polygon) {
  std::vector<CanvasPoint> points;
  points.reserve(polygon.points.size());
  for (const PDFPoint& p : polygon.points) {
    points.push_back({p.x, p.y});
  }
  surface.fillPolygon(points,
                      polygon.fillMode == 2 ? CanvasFillRule::Winding : CanvasFillRule::EvenOdd,
                      polygon.color);
}

void paintClip(Canvas& surface, const PDFPageItem& item) {
  const PDFClipItem* clip = item.as<PDFClipItem>();
  if (clip == nullptr) {
    surface.removeClip();
    return;
  }
  std::vector<CanvasRect> rects;
  rects.reserve(clip->rects.size());
  for (const PDFRect& r : clip->rects) {
    rects.push_back({r.left, r.top, r.right, r.bottom});
  }
  surface.setClip(rects);
}

void removeQuietly(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

}  // namespace

void PaintPageRecord(Canvas& surface, const PDFPageRecord& record) {
  surface.removeClip();
  for (const PDFPageItem& item : record.items) {
    switch (item.kind) {
      case PDFPageItemKind::Text:
        if (const auto* text = item.as<PDFTextItem>()) {
          paintText(surface, *text);
        }
        break;
      case PDFPageItemKind::Image:
        if (const auto* image = item.as<PDFImageItem>()) {
          paintImage(surface, *image);
        }
        break;
      case PDFPageItemKind::Line:
        if (const auto* line = item.as<PDFLineItem>()) {
          surface.drawLine({line->x1, line->y1}, {line->x2, line->y2}, line->width, line->color,
                           line->style != 0);
        }
        break;
      case PDFPageItemKind::Polygon:
        if (const auto* polygon = item.as<PDFPolygonItem>()) {
          paintPolygon(surface, *polygon);
        }
        break;
      case PDFPageItemKind::Clip:
        paintClip(surface, item);
        break;
    }
  }
}

std::filesystem::path MakePageImage(const PDFPageRecord& record,
                                    const std::filesystem::path& pageFile,
                                    const PageImageOptions& options) {
  std::filesystem::path bmpPath = pageFile;
  bmpPath.replace_extension(".bmp");

  // A zero-sized page, or one too large for a surface, gets no bitmap and so no image.
  std::unique_ptr<Canvas> surface = Canvas::create(record.width, record.height);
  if (surface == nullptr) {
    return {};
  }
  surface->fill(static_cast<uint32_t>(options.background) & 0x00FFFFFF);
  PaintPageRecord(*surface, record);
  const bool saved = surface->saveBmp(bmpPath);
  surface.reset();
  if (!saved) {
    return {};
  }
  if (options.imagesFormat == 2) {
    return bmpPath;
  }

  std::filesystem::path imagePath = pageFile;
  ImageFormat format = ImageFormat::Png;
  CImageBuffer image;
  bool ok = image.loadFile(bmpPath, ImageFormat::Bmp);
  switch (options.imagesFormat) {
    case 1:
      imagePath.replace_extension(".jpg");
      format = ImageFormat::Jpeg;
      if (ok) {
        ok = image.setJpegQuality(options.jpegQuality & 0xFF);
      }
      // jpegGrayScale 0 stands for "True" in the settings file.
      if (ok && options.jpegGrayScale == 0) {
        ok = image.convertToGrey();
      }
      break;
    case 3:
      imagePath.replace_extension(".gif");
      format = ImageFormat::Gif;
      if (ok) {
        ok = image.reduceTo8Bit();
      }
      break;
    default:
      imagePath.replace_extension(".png");
      break;
  }
  if (ok) {
    ok = image.saveFile(imagePath, format);
  }
  removeQuietly(bmpPath);
  return ok ? imagePath : std::filesystem::path();
}

}  // namespace qv
