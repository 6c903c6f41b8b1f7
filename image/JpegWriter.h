#pragma once

// Writer of baseline JFIF files through libjpeg: 24-bit images as RGB, 8-bit grey-palette
// images as one grey component; libjpeg's default parameters with the image's quality and
// its resolution in dots per inch, output through a 4096-byte buffer.

#include <cstdio>
#include <string>

#include "image/CImageBuffer.h"

namespace qv {

bool writeJpeg(std::FILE* file, const CImageBuffer& image, std::string& error);

}  // namespace qv
