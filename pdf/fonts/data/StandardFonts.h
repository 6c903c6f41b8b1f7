#pragma once

// The 14 standard fonts: default encoding, ascent, descent and bounding box (glyph units)
// and glyph widths, from Adobe's AFM files (generated into StandardFontTables.cpp by
// tools/fontdata/make_font_data.py); and the table of common names that stand for them.
// Constant data; the width lookup tables are built on first use and never change.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pdf/fonts/data/FontEncodings.h"

namespace qv {

struct StandardFontWidth {
  const char* name;
  uint16_t width;
};

struct StandardFontData {
  const char* name;
  const FontEncodingTable* encoding;
  int ascent;
  int descent;
  std::array<int, 4> bbox;
  const StandardFontWidth* widths;
  size_t widthCount;
};

inline constexpr size_t kStandardFontCount = 14;

// In the order Courier, Courier-Bold, Courier-BoldOblique, Courier-Oblique, Helvetica,
// Helvetica-Bold, Helvetica-BoldOblique, Helvetica-Oblique, Symbol, Times-Bold,
// Times-BoldItalic, Times-Italic, Times-Roman, ZapfDingbats.
const std::array<StandardFontData, kStandardFontCount>& standardFontData();

class StandardFont {
 public:
  // The standard font named exactly `name`, or nullptr.
  static const StandardFont* find(std::string_view name);

  const StandardFontData& data() const { return *data_; }
  // The width of glyph `glyph` in glyph units, or nothing when the font has no such glyph.
  std::optional<int> width(std::string_view glyph) const;

 private:
  friend struct StandardFontRegistry;
  const StandardFontData* data_ = nullptr;
  size_t index_ = 0;
};

// The standard font name a common font name stands for ("Arial,Bold" -> "Helvetica-Bold"),
// or nothing.
std::optional<std::string_view> standardFontAlias(std::string_view name);
// True when `name` is one of the alias table's names or standard names.
bool isStandardFontTableName(std::string_view name);

}  // namespace qv
