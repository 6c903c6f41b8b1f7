#pragma once

// Splits the text of a data file into lines and lines into tokens, the way the engine's line
// oriented files (configuration, nameToUnicode, cidToUnicode, unicodeMap) are read. A line
// ends at LF, CR or CR LF; a line longer than the reader's limit is returned in pieces of at
// most that many bytes, each piece counting as a line, as a fixed line buffer would read it.
// The reader borrows the text, which must outlive it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

class TextLineReader {
 public:
  TextLineReader(std::string_view text, size_t maxLineLength)
      : text_(text), maxLineLength_(maxLineLength == 0 ? 1 : maxLineLength) {}

  // The next line without its line end; false at the end of the text.
  bool next(std::string_view& line);

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t maxLineLength_;
};

// The first `maxTokens` tokens of `line`, separated by blanks, tabs, CR and LF.
std::vector<std::string_view> splitTokens(std::string_view line, size_t maxTokens = SIZE_MAX);

// Parses the whole of `text` as a hexadecimal number (no prefix, no sign); false when it is
// empty, holds another character or does not fit in 32 bits.
bool parseHex(std::string_view text, uint32_t& value);

// Parses the whole of `text` as a decimal integer with an optional minus sign; false when it
// is not one or does not fit an int.
bool parseDecimal(std::string_view text, int& value);

}  // namespace qv
