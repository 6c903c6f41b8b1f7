#pragma once

// The 258 glyph names of the standard Macintosh glyph order that TrueType "post" tables of
// format 1 imply and format 2 refers to by index. Constant data; nothing owns it.

#include <array>
#include <cstddef>

namespace qv {

inline constexpr size_t kMacGlyphNameCount = 258;

const std::array<const char*, kMacGlyphNameCount>& macGlyphNames();

}  // namespace qv
