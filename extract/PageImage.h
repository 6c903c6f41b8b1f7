#pragma once

// The page image: every non-text item and all rotated text of a page record painted, in
// record order, onto one bitmap the size of the page, saved beside the page file in the
// chosen image format.

#include <cstdint>
#include <filesystem>

#include "extract/PDFPageRecord.h"

namespace qv {

class Canvas;

// The options the painter and the encoders read (a subset of the conversion options).
struct PageImageOptions {
  int32_t background = 0x00FFFFFF;  // htmlBackground, 0x00BBGGRR
  int32_t imagesFormat = 0;         // 0 png, 1 jpg, 2 bmp, 3 gif
  int32_t jpegQuality = 70;         // percent; its low byte is used
  int32_t jpegGrayScale = 1;        // 0: grey-scale JPEG
};

// Paints the record and writes the page image beside pageFile (same folder and name, the
// format's extension). Returns the image path, or an empty path when no image was written.
std::filesystem::path MakePageImage(const PDFPageRecord& record, const std::filesystem::path& pageFile,
                                    const PageImageOptions& options);

// Paints the record's non-text items and rotated text onto the surface, in record order.
void PaintPageRecord(Canvas& surface, const PDFPageRecord& record);

}  // namespace qv
