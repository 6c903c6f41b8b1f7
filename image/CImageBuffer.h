#pragma once

// CImageBuffer: an in-memory device-independent bitmap (the layout of a Windows DIB: a
// 40-byte information header, a palette of blue-green-red-reserved entries, rows stored
// bottom row first, each padded to 4 bytes) with the operations the page-image step needs:
// read a bitmap file, turn the image grey or reduce it to 256 colours, write it as BMP, GIF,
// JPEG or PNG.
//
// The buffer owns its pixels and palette; every conversion builds new pixels and replaces the
// old ones while the settings (resolution, JPEG quality, GIF options) stay. Every operation
// answers true on success, or false with the reason in lastError(); none throws. One thread
// uses an image at a time; only the cancel flag may be set from another thread.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qv {

// File formats of loadFile and saveFile. The numbers are fixed: callers store them.
enum class ImageFormat : int32_t {
  Any = 0,  // loadFile: try every decoder
  Bmp = 1,
  Gif = 2,
  Jpeg = 3,
  Png = 4,
};

// The Windows BITMAPINFOHEADER fields, as held in memory.
struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

// One palette entry in the Windows order.
struct PaletteEntry {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// Codec option bits (codecOptions).
inline constexpr uint32_t kPngInterlaced = 1;  // PNG: write Adam7-interlaced

class CImageBuffer {
 public:
  CImageBuffer();
  ~CImageBuffer();
  CImageBuffer(const CImageBuffer&) = delete;
  CImageBuffer& operator=(const CImageBuffer&) = delete;

  // Makes a zero-filled image; bits per pixel is rounded up to 1, 4, 8 or 24. Settings stay.
  bool create(int64_t width, int64_t height, int bitsPerPixel);
  // Frees the pixels and palette; the image is empty again.
  void destroy();

  // Reads a file. When the given format fails, every decoder is tried; when that fails too,
  // lastError() holds the first message.
  bool loadFile(const std::filesystem::path& file, ImageFormat format);
  // Writes the image. The file appears only when the whole image was written.
  bool saveFile(const std::filesystem::path& file, ImageFormat format);

  // Quality 0-100 of the next JPEG save (values outside are clamped).
  bool setJpegQuality(int quality);
  // Turns the image into an 8-bit image with the grey palette (entry i = (i, i, i)).
  bool convertToGrey();
  // Turns a 24-bit image into an 8-bit image with standardPalette(); an 8-bit image stays as
  // it is, an image of fewer bits fails. A cancel request stops it and leaves the image.
  bool reduceTo8Bit();

  // Palette index nearest to the colour (0x00BBGGRR) by squared distance; the first of equal
  // candidates wins. The last colour asked and its answer are remembered.
  uint8_t nearestIndex(uint32_t color);

  bool isValid() const { return bits_ != nullptr; }
  int32_t width() const { return header_.width; }
  int32_t height() const { return header_.height; }
  int bitsPerPixel() const { return header_.bitCount; }
  uint32_t stride() const { return stride_; }
  const BitmapInfoHeader& header() const { return header_; }
  // Row y of the stored order: 0 is the bottom row of the picture.
  uint8_t* row(int32_t y) { return bits_.get() + static_cast<size_t>(y) * stride_; }
  const uint8_t* row(int32_t y) const { return bits_.get() + static_cast<size_t>(y) * stride_; }
  // Writable palette; writing through it forgets the remembered nearestIndex answer.
  std::span<PaletteEntry> palette() {
    haveLastColor_ = false;
    return palette_;
  }
  std::span<const PaletteEntry> palette() const { return palette_; }
  // True when the image is 8-bit and entry i of its palette is (i, i, i) for every i.
  bool hasGreyPalette() const;

  const std::string& lastError() const { return lastError_; }

  // Settings, kept across conversions.
  int xDpi() const { return xDpi_; }
  int yDpi() const { return yDpi_; }
  void setResolution(int xDpi, int yDpi);
  int jpegQuality() const { return jpegQuality_; }
  int transparentIndex() const { return transparentIndex_; }
  void setTransparentIndex(int index) { transparentIndex_ = index; }
  int gifDelay() const { return gifDelay_; }
  void setGifDelay(int delay) { gifDelay_ = delay; }
  int gifDisposal() const { return gifDisposal_; }
  void setGifDisposal(int method) { gifDisposal_ = method; }
  const std::string& gifComment() const { return gifComment_; }
  void setGifComment(std::string text) { gifComment_ = std::move(text); }
  uint32_t codecOptions(ImageFormat format) const;
  void setCodecOptions(ImageFormat format, uint32_t options);
  ImageFormat loadedFormat() const { return loadedFormat_; }
  int progress() const { return progress_.load(); }
  void requestCancel() { cancel_.store(true); }
  void clearCancel() { cancel_.store(false); }

 private:
  bool decode(std::FILE* file, ImageFormat format);
  bool encode(std::FILE* file, ImageFormat format);
  bool fail(std::string message);
  // Builds the 256-colour version of this 24-bit image into `reduced`.
  bool reduceInto(CImageBuffer& reduced);
  // Moves other's pixels, palette and header into this image, keeping this image's settings.
  void takePixels(CImageBuffer& other);

  BitmapInfoHeader header_;
  std::vector<PaletteEntry> palette_;
  std::unique_ptr<uint8_t[]> bits_;
  uint32_t stride_ = 0;

  int xDpi_ = 96;
  int yDpi_ = 96;
  int jpegQuality_ = 90;
  int transparentIndex_ = -1;
  int gifDelay_ = 0;
  int gifDisposal_ = 0;
  std::string gifComment_;
  uint32_t codecOptions_[5] = {};
  ImageFormat loadedFormat_ = ImageFormat::Any;
  std::atomic<int> progress_{0};
  std::atomic<bool> cancel_{false};

  bool haveLastColor_ = false;
  uint32_t lastColor_ = 0;
  uint8_t lastIndex_ = 0;

  std::string lastError_;
};

}  // namespace qv
