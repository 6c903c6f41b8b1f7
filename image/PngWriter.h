#pragma once

// Writer of PNG files through libpng: RGB for 24-bit images, palette colour for the others;
// a white bKGD chunk (unless a transparent index is set, which becomes a tRNS chunk), pHYs
// with the image's resolution, and for small images a palette cut after the highest index
// used.

#include <cstdio>
#include <string>

#include "image/CImageBuffer.h"

namespace qv {

bool writePng(std::FILE* file, const CImageBuffer& image, std::string& error);

}  // namespace qv
