#pragma once

// Bounds against hostile image files. They sit far above any page image this system makes
// (a 612 x 792 point page at 72 dots per inch is under 2 MB in 24 bits).

#include <cstdint>

namespace qv {

// Largest pixel buffer an image may have: a run-length bitmap of a few bytes can claim any
// size, so creation refuses more than this before allocating.
inline constexpr uint64_t kMaxImageBytes = uint64_t{256} << 20;

// Largest width or height: 16-bit GIF fields and libjpeg's 65500 limit are checked by their
// writers; this keeps row arithmetic within 32 bits for every depth.
inline constexpr int64_t kMaxImageDimension = int64_t{1} << 24;

}  // namespace qv
