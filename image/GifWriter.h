#pragma once

// Writer of GIF89a files for images of 1, 4 or 8 bits per pixel: logical screen with a
// global colour table, a graphic control extension, an optional comment, one image and the
// trailer.

#include <cstdio>
#include <string>

#include "image/CImageBuffer.h"

namespace qv {

bool writeGif(std::FILE* file, const CImageBuffer& image, std::string& error);

}  // namespace qv
