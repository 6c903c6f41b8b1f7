#pragma once

// Reads the table directory, the "head" and "maxp" values and, on first request, the
// encoding of a TrueType program: codes 0..255 through the "cmap" table to glyphs, glyphs
// through the "post" table (or the standard Macintosh order) to names. Keeps a copy of the
// program while it lives; owned by the font being built. Never gives a font name.

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

namespace qv {

class FontFileBytes;

class CPDFTrueTypeFontReader : public CPDFFontFileReader {
 public:
  explicit CPDFTrueTypeFontReader(std::string_view bytes);

  std::optional<std::string> fontName() const override { return std::nullopt; }
  const GlyphNameTable& encoding() override;

  struct Table {
    uint32_t tag = 0;
    uint32_t checksum = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
  };

  // The table tagged `tag` (four characters), or nullptr.
  const Table* findTable(const char* tag) const;
  int xMin() const { return xMin_; }
  int yMin() const { return yMin_; }
  int xMax() const { return xMax_; }
  int yMax() const { return yMax_; }
  int indexToLocFormat() const { return indexToLocFormat_; }
  uint32_t glyphCount() const { return glyphCount_; }

 private:
  void readCodeToGlyph(const FontFileBytes& in, std::array<uint32_t, 256>& glyphs) const;
  void readNames(const FontFileBytes& in, const std::array<uint32_t, 256>& glyphs);

  std::string data_;
  std::vector<Table> tables_;
  int xMin_ = 0;
  int yMin_ = 0;
  int xMax_ = 0;
  int yMax_ = 0;
  int indexToLocFormat_ = 0;
  uint32_t glyphCount_ = 0;
  bool encodingBuilt_ = false;
  GlyphNameTable encoding_;
};

}  // namespace qv
