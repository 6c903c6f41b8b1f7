#pragma once

// Writer of uncompressed Windows bitmap files (14-byte file header, 40-byte information
// header, palette, rows bottom row first).

#include <cstdio>
#include <string>

#include "image/CImageBuffer.h"

namespace qv {

bool writeBmp(std::FILE* file, const CImageBuffer& image, std::string& error);

}  // namespace qv
