#pragma once

// Reader of Windows and OS/2 bitmap files: 1, 4 and 8 bits with a palette (uncompressed or
// run-length encoded), 16, 24 and 32 bits (with or without bit-field masks), bottom-up or
// top-down. 16- and 32-bit pixels become 24-bit pixels.

#include <cstdio>
#include <string>

#include "image/CImageBuffer.h"

namespace qv {

// Reads the bitmap at the current start of `file` into `image` (its pixels, palette and
// resolution). On failure answers false with the reason in `error`; `image` may then hold a
// partial picture and is to be thrown away.
bool readBmp(std::FILE* file, CImageBuffer& image, std::string& error);

}  // namespace qv
