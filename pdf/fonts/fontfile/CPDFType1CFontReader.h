#pragma once

// Reads the font name and the encoding of a Compact Font Format program (Type 1C): the
// header, the Name, Top DICT and String INDEXes, the charset and the encoding (Adobe
// Technical Note 5176). Keeps a copy of the program while it lives; owned by the font being
// built.

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

namespace qv {

class FontFileBytes;

class CPDFType1CFontReader : public CPDFFontFileReader {
 public:
  explicit CPDFType1CFontReader(std::string_view bytes);

  std::optional<std::string> fontName() const override { return name_; }
  const GlyphNameTable& encoding() override { return encoding_; }

  // Operands kept while a DICT is decoded, and characters kept of a name or string.
  static constexpr int kMaxDictOperands = 48;
  static constexpr size_t kMaxNameLength = 255;

 private:
  struct Index {
    size_t pos = 0;  // start of the INDEX
    uint32_t count = 0;
    uint32_t offSize = 0;
    size_t dataBase = 0;  // offsets count from dataBase + 1
    size_t end = 0;       // first byte after the INDEX
    bool ok = false;
  };

  Index readIndex(const FontFileBytes& bytes, size_t pos) const;
  // Item i of `index` (cut at the end of the program); empty when out of range.
  std::string_view indexItem(const FontFileBytes& bytes, const Index& index, uint32_t i) const;
  void readTopDict(const FontFileBytes& bytes, std::string_view dict);
  std::vector<uint16_t> readCharset(const FontFileBytes& bytes, uint32_t glyphs) const;
  void readEncoding(const FontFileBytes& bytes, const std::vector<uint16_t>& charset);
  std::string sidName(const FontFileBytes& bytes, uint32_t sid) const;

  std::string data_;
  std::optional<std::string> name_;
  GlyphNameTable encoding_;
  Index strings_;
  int64_t charsetOffset_ = 0;
  int64_t encodingOffset_ = 0;
  int64_t charStringsOffset_ = -1;
};

}  // namespace qv
