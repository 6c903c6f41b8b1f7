#pragma once

// Reads what the font engine needs from an embedded or external font program: its font name
// and its built-in encoding (256 glyph names). Nothing else of the program is decoded. The
// reader keeps its own copy of the program's bytes and is owned by the font that reads it,
// for the duration of the font's construction. Never fails outright: a program it cannot
// understand gives no name and an encoding without entries (or ".notdef" entries for
// TrueType).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

using GlyphNameTable = std::array<std::optional<std::string>, 256>;

class CPDFFontFileReader {
 public:
  virtual ~CPDFFontFileReader() = default;

  static std::unique_ptr<CPDFFontFileReader> readType1(std::string_view bytes);
  static std::unique_ptr<CPDFFontFileReader> readType1C(std::string_view bytes);
  static std::unique_ptr<CPDFFontFileReader> readTrueType(std::string_view bytes);

  virtual std::optional<std::string> fontName() const = 0;
  // The program's encoding; built on first request where that costs work.
  virtual const GlyphNameTable& encoding() = 0;
};

}  // namespace qv
