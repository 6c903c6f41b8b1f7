#pragma once

// Reads the font name and the encoding from the cleartext part of a Type 1 font program
// (PFA text, or a PFB file whose first segment is the cleartext). The encrypted part is never
// read. Owned by the font being built.

#include <string>

#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

namespace qv {

class CPDFType1FontReader : public CPDFFontFileReader {
 public:
  explicit CPDFType1FontReader(std::string_view bytes);

  std::optional<std::string> fontName() const override { return name_; }
  const GlyphNameTable& encoding() override { return encoding_; }

  // Lines of the cleartext examined for the name and the encoding, and lines of an
  // "/Encoding 256 array" block.
  static constexpr int kMaxHeaderLines = 100;
  static constexpr int kMaxEncodingLines = 300;

 private:
  std::optional<std::string> name_;
  GlyphNameTable encoding_;
};

}  // namespace qv
