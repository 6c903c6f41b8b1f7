#pragma once

// Constant tables of the Compact Font Format (Adobe Technical Note 5176): the 391 standard
// strings, the Expert and ExpertSubset charsets and the Expert encoding. Nothing owns them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

inline constexpr size_t kCffStandardStringCount = 391;
// Glyphs 0..228 of the ISOAdobe charset have SID = glyph number.
inline constexpr size_t kCffIsoAdobeGlyphCount = 229;

const std::array<const char*, kCffStandardStringCount>& cffStandardStrings();
std::span<const uint16_t> cffExpertCharset();
std::span<const uint16_t> cffExpertSubsetCharset();
const std::array<uint16_t, 256>& cffExpertEncoding();

}  // namespace qv
