#pragma once

// A font of a page's or form's resources: turns the bytes of a shown string into characters
// (code, Unicode values, advance, glyph origin). Two kinds: CPDFSimpleFont (8-bit Type1,
// MMType1, Type1C, Type3, TrueType) and CPDFCIDFont (Type0). Built by CPDFFont::makeFont from
// a font dictionary; embedded programs are read only for their name and built-in encoding.
// Owned by the CPDFFontDict of its resource dictionary (std::unique_ptr); the graphics state
// borrows it. One document, one thread.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "pdf/core/CPDFObject.h"
#include "pdf/fonts/LegacyCodePage.h"

namespace qv {

class CPDFConfig;
class CPDFDict;

// What fonts need from the document while they are built.
struct CPDFFontContext {
  CPDFObjectResolver* xref = nullptr;
  CPDFConfig* config = nullptr;
  LegacyCodePage codePage = LegacyCodePage::kWindows1252;
};

enum class CPDFFontKind : int {
  kUnknown = 0,
  kType1 = 1,
  kType1C = 2,
  kType3 = 3,
  kTrueType = 4,
  kCIDType0 = 5,
  kCIDType0C = 6,
  kCIDType2 = 7,
};

// One character of a shown string.
struct CPDFChar {
  uint32_t code = 0;
  std::array<char16_t, 8> unicode{};
  int unicodeCount = 0;
  double dx = 0;
  double dy = 0;
  double originX = 0;
  double originY = 0;
};

class CPDFFont {
 public:
  static constexpr int kFlagFixedPitch = 1;
  static constexpr int kFlagSerif = 2;
  static constexpr int kFlagItalic = 64;
  static constexpr int kFlagBold = 0x40000;

  virtual ~CPDFFont() = default;
  CPDFFont(const CPDFFont&) = delete;
  CPDFFont& operator=(const CPDFFont&) = delete;

  // Builds the font of `dict`; check isOk(). `ref` is the dictionary's reference, or the
  // entry's index and 999999 for a font given directly.
  static std::unique_ptr<CPDFFont> makeFont(CPDFFontContext& context, std::string tag,
                                            CPDFRef ref, const CPDFDict& dict);

  virtual bool isCIDFont() const = 0;
  // Decodes the character at the start of `bytes` (not empty) into `out`; returns the bytes
  // it took, at least 1.
  virtual int nextChar(std::span<const uint8_t> bytes, CPDFChar& out) = 0;

  bool isOk() const { return ok_; }
  const std::string& tag() const { return tag_; }
  CPDFRef ref() const { return ref_; }
  const std::optional<std::string>& name() const { return name_; }
  CPDFFontKind kind() const { return kind_; }
  int flags() const { return flags_; }
  int writingMode() const { return writingMode_; }
  int winCharSet() const { return winCharSet_; }
  int italicAngle() const { return italicAngle_; }
  const std::optional<std::string>& embeddedFontName() const { return embeddedName_; }
  // The embedded program's reference, {-1, -1} when none.
  CPDFRef embeddedFontRef() const { return embeddedRef_; }
  bool hasEmbeddedFont() const { return embeddedRef_.num >= 0; }
  const std::optional<std::string>& externalFontPath() const { return externalPath_; }
  const std::array<double, 6>& fontMatrix() const { return fontMatrix_; }
  const std::array<double, 4>& fontBBox() const { return fontBBox_; }
  double missingWidth() const { return missingWidth_; }
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }

 protected:
  CPDFFont(std::string tag, CPDFRef ref, std::optional<std::string> name, CPDFFontKind kind)
      : tag_(std::move(tag)), ref_(ref), name_(std::move(name)), kind_(kind) {}

  // Reads the FontDescriptor of `dict` and finds the embedded or external program.
  void readFontDescriptor(CPDFFontContext& context, const CPDFDict& dict);
  // The font program's bytes: the external file when one was found, else the embedded
  // stream; nothing when there is none or it cannot be read (reported).
  std::optional<std::string> readFontProgram(CPDFFontContext& context);

  bool ok_ = false;
  std::string tag_;
  CPDFRef ref_;
  std::optional<std::string> name_;
  CPDFFontKind kind_;
  int flags_ = kFlagSerif;
  int writingMode_ = 0;
  int winCharSet_ = 1;
  int italicAngle_ = 0;
  std::optional<std::string> embeddedName_;
  CPDFRef embeddedRef_{-1, -1};
  std::optional<std::string> externalPath_;
  std::array<double, 6> fontMatrix_{1, 0, 0, 1, 0, 0};
  std::array<double, 4> fontBBox_{};
  double missingWidth_ = 0;
  double ascent_ = 0.95;
  double descent_ = -0.35;
};

}  // namespace qv
