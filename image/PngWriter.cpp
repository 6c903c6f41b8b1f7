#include "image/PngWriter.h"

#include <png.h>

#include <vector>

#include "image/Palette.h"

namespace qv {

namespace {

// Everything the libpng calls need, prepared before the setjmp scope so that no object with
// a destructor lives inside it.
struct PngJob {
  std::FILE* file;
  png_uint_32 width;
  png_uint_32 height;
  int bitDepth;
  int colorType;
  bool interlaced;
  bool bgr;
  png_uint_32 xPelsPerMeter;
  png_uint_32 yPelsPerMeter;
  png_color palette[256];
  int paletteSize;
  bool haveBackground;
  png_color_16 background;
  png_byte alpha[256];
  int alphaCount;
  const png_byte* const* rows;  // top row first
};

enum PngResult { kPngOk, kPngNoStruct, kPngNoInfo, kPngFailed };

void pngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

// Plain C-style code: libpng reports errors by longjmp back into this function.
PngResult runPngJob(const PngJob* job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  if (!png) {
    return kPngNoStruct;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return kPngNoInfo;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return kPngFailed;
  }
  png_init_io(png, job->file);
  png_set_IHDR(png, info, job->width, job->height, job->bitDepth, job->colorType,
               job->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (job->paletteSize > 0) {
    png_set_PLTE(png, info, job->palette, job->paletteSize);
  }
  if (job->alphaCount > 0) {
    png_set_tRNS(png, info, job->alpha, job->alphaCount, nullptr);
  }
  if (job->haveBackground) {
    png_set_bKGD(png, info, &job->background);
  }
  png_set_pHYs(png, info, job->xPelsPerMeter, job->yPelsPerMeter, PNG_RESOLUTION_METER);
  // Page images are mostly flat areas: trying only the Sub and Up filters is faster than the
  // adaptive choice among all five and gives smaller files on such pages.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB | PNG_FILTER_UP);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  if (job->bgr) {
    png_set_bgr(png);
  }
  const int passes = job->interlaced ? png_set_interlace_handling(png) : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < job->height; ++y) {
      png_write_row(png, job->rows[y]);
    }
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return kPngOk;
}

uint32_t positive(int32_t value) {
  return value > 0 ? static_cast<uint32_t>(value) : 0;
}

}  // namespace

bool writePng(std::FILE* file, const CImageBuffer& image, std::string& error) {
  const int bits = image.bitsPerPixel();
  const auto palette = image.palette();
  PngJob job{};
  job.file = file;
  job.width = static_cast<png_uint_32>(image.width());
  job.height = static_cast<png_uint_32>(image.height());
  job.bitDepth = bits == 24 ? 8 : bits;
  job.colorType = bits == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE;
  job.interlaced = (image.codecOptions(ImageFormat::Png) & kPngInterlaced) != 0;
  job.bgr = bits == 24;
  job.xPelsPerMeter = positive(image.header().xPelsPerMeter);
  job.yPelsPerMeter = positive(image.header().yPelsPerMeter);

  std::vector<const png_byte*> rows(job.height);
  for (png_uint_32 y = 0; y < job.height; ++y) {
    rows[y] = image.row(static_cast<int32_t>(job.height - 1 - y));
  }
  job.rows = rows.data();

  if (bits <= 8) {
    int count = static_cast<int>(palette.size());
    // Small images keep only the entries up to the highest index used.
    if (count > 2 && uint64_t{job.width} * job.height < 65536) {
      int highest = 0;
      for (png_uint_32 y = 0; y < job.height; ++y) {
        const uint8_t* row = rows[y];
        for (png_uint_32 x = 0; x < job.width; ++x) {
          const int index = bits == 8   ? row[x]
                            : bits == 4 ? ((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4))
                                        : (row[x >> 3] >> (7 - (x & 7))) & 1;
          highest = index > highest ? index : highest;
        }
      }
      count = highest + 1 < count ? highest + 1 : count;
    }
    job.paletteSize = count;
    for (int i = 0; i < count; ++i) {
      job.palette[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
    }
  }
  const int transparent = image.transparentIndex();
  if (transparent >= 0) {
    if (bits <= 8 && transparent < job.paletteSize) {
      for (int i = 0; i < transparent; ++i) {
        job.alpha[i] = 255;
      }
      job.alpha[transparent] = 0;
      job.alphaCount = transparent + 1;
    }
  } else {
    job.haveBackground = true;
    job.background.red = job.background.green = job.background.blue = 255;
    job.background.gray = 255;
    if (bits <= 8) {
      // A palette image names its background by index: the entry nearest to white.
      job.background.index =
          nearestPaletteIndex(palette.first(static_cast<size_t>(job.paletteSize)), 255, 255, 255);
      job.background.red = job.palette[job.background.index].red;
      job.background.green = job.palette[job.background.index].green;
      job.background.blue = job.palette[job.background.index].blue;
    }
  }

  switch (runPngJob(&job)) {
    case kPngOk:
      if (std::fflush(file) != 0) {
        error = "Error saving PNG file";
        return false;
      }
      return true;
    case kPngNoStruct:
      error = "Failed to create PNG structure";
      return false;
    case kPngNoInfo:
      error = "Failed to initialize PNG info structure";
      return false;
    case kPngFailed:
      break;
  }
  error = "Error saving PNG file";
  return false;
}

}  // namespace qv
