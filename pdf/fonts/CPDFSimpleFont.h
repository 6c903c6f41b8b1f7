#pragma once

// An 8-bit font (Type1, MMType1, Type1C, Type3, TrueType, or of unknown type): an encoding of
// 256 glyph names, a Unicode map and 256 widths. Under a double-byte legacy code page, two
// bytes of a non-embedded font that is not a standard font can form one character. Owned by
// its CPDFFontDict.

#include <array>

#include "pdf/core/RefCounted.h"
#include "pdf/fonts/CPDFFont.h"
#include "pdf/fonts/cmap/CPDFToUnicode.h"
#include "pdf/fonts/fontfile/CPDFFontFileReader.h"

namespace qv {

class CPDFSimpleFont : public CPDFFont {
 public:
  static std::unique_ptr<CPDFFont> build(CPDFFontContext& context, std::string tag, CPDFRef ref,
                                         std::optional<std::string> name, CPDFFontKind kind,
                                         const CPDFDict& dict);

  bool isCIDFont() const override { return false; }
  int nextChar(std::span<const uint8_t> bytes, CPDFChar& out) override;

  const GlyphNameTable& encoding() const { return encoding_; }
  bool hasEncoding() const { return hasEncoding_; }
  bool isStandardName() const { return isStandardName_; }
  double width(int code) const { return widths_[code & 0xff]; }
  const RefPtr<CPDFDict>& charProcs() const { return charProcs_; }
  const RefPtr<CPDFToUnicode>& toUnicode() const { return toUnicode_; }

 private:
  CPDFSimpleFont(std::string tag, CPDFRef ref, std::optional<std::string> name,
                 CPDFFontKind kind)
      : CPDFFont(std::move(tag), ref, std::move(name), kind) {}

  void buildUnicodeMap(CPDFFontContext& context, const CPDFDict& dict);
  void buildWidths(const CPDFDict& dict);

  GlyphNameTable encoding_;
  bool hasEncoding_ = false;
  bool isStandardName_ = false;
  RefPtr<CPDFToUnicode> toUnicode_;
  std::array<double, 256> widths_{};
  RefPtr<CPDFDict> charProcs_;
  LegacyCodePage codePage_ = LegacyCodePage::kWindows1252;
};

}  // namespace qv
