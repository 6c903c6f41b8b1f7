#pragma once

// Splits the PostScript text of a CMap (a CMap file or a ToUnicode stream) into tokens:
// hexadecimal strings "<...>" (whitespace inside dropped), names "/...", the delimiters
// "[", "]", "{", "}", "<<", ">>", literal strings "(...)" (kept whole, nested parentheses and
// backslash escapes respected) and everything else as words. "%" starts a comment that runs
// to the end of the line. Entries written without blanks between them ("<01><0041>") and
// several entries on one line read the same as one entry per line. Borrows the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CMapTokenizer {
 public:
  enum class Kind { End, Hex, Name, Word, Delimiter, String };
  struct Token {
    Kind kind = Kind::End;
    // Hex: the digits without brackets and whitespace; Name: without the slash; others whole.
    std::string text;

    bool isWord(std::string_view word) const { return kind == Kind::Word && text == word; }
  };

  explicit CMapTokenizer(std::string_view text) : text_(text) {}

  Token next();

  // The bytes of hexadecimal digits ("8140" -> 81 40); false for an odd count or a non-digit.
  static bool hexBytes(std::string_view digits, std::vector<uint8_t>& bytes);

 private:
  void skipSpaceAndComments();

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace qv
