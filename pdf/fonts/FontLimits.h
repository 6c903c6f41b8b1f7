#pragma once

// Bounds on what a font dictionary can make the engine read. Each value is far above what
// real fonts need.

#include <cstddef>

namespace qv {

// Bytes of one font program read for its name and encoding (real programs are below a few
// megabytes; CJK TrueType fonts reach some tens).
inline constexpr size_t kMaxFontProgramBytes = size_t{64} << 20;

// Bytes of one ToUnicode CMap stream.
inline constexpr size_t kMaxToUnicodeBytes = size_t{16} << 20;

// Bytes of a CIDToGIDMap stream: two per CID, and CIDs stop at 65535.
inline constexpr size_t kMaxCIDToGIDBytes = size_t{2} * 65536;

}  // namespace qv
