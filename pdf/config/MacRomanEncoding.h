#pragma once

// The glyph names of the PDF standard's MacRomanEncoding (PDF 1.7, Annex D.2), indexed by
// code; nullptr where the encoding has no glyph. Code 0xCA is the encoding's second space.
// Constant data; nothing owns it.

#include <array>

namespace qv {

const std::array<const char*, 256>& macRomanEncodingNames();

}  // namespace qv
