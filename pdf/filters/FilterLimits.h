#pragma once

// Bounds that keep the stream filters safe on hostile data. Each value lies far above
// anything a real document needs, so no well-formed file decodes differently because of it.
// The cap on the length of a filter chain is kMaxFilterChainLength in pdf/core/Limits.h.

#include <cstddef>
#include <cstdint>

#include "pdf/core/Limits.h"

namespace qv {

// Most bytes one decoder delivers between two resets. A few hundred bytes of Flate or
// RunLength data can expand to gigabytes ("zip bombs"); the largest real stream, an
// uncompressed image of a big poster page in CMYK at 600 dpi, stays well below 1 GiB.
inline constexpr uint64_t kMaxDecodedStreamBytes = uint64_t{1} << 30;

// Largest predictor row (Columns x Colors x BitsPerComponent / 8). A 200,000-pixel-wide
// 16-bit CMYK row needs 1.6 MB; the bound stops a hostile /Columns from allocating (or
// overflowing) a huge row buffer.
inline constexpr size_t kMaxPredictorRowBytes = size_t{16} << 20;

// Most colour components per pixel a predictor or pixel reader accepts: DeviceN allows
// up to 32 colorants.
inline constexpr int kMaxPredictorColors = 32;

}  // namespace qv
