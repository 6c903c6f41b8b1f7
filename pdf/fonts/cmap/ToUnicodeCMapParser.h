#pragma once

// Reads the bfchar and bfrange blocks of a ToUnicode CMap into a CPDFToUnicode, following
// usecmap into the configuration's ToUnicode folders. A malformed entry is reported and
// dropped; the rest of the block is still read. Lives for one parse and borrows the map and
// the configuration.

#include <string_view>

#include "pdf/fonts/cmap/CMapTokenizer.h"
#include "pdf/fonts/cmap/CPDFToUnicode.h"

namespace qv {

class ToUnicodeCMapParser {
 public:
  ToUnicodeCMapParser(CPDFToUnicode& map, int codeBits, const CPDFConfig& config)
      : map_(map), codeDigits_(codeBits == 8 ? 2 : 4), config_(config) {}

  // `depth` counts the usecmap files above this text.
  void parse(std::string_view text, int depth);

 private:
  using Token = CMapTokenizer::Token;

  // Each returns a token that ended the block without being its end keyword (a keyword of
  // the enclosing level), or an End token.
  Token parseBfchar(CMapTokenizer& tokens);
  Token parseBfrange(CMapTokenizer& tokens);
  void useCMap(const std::string& name, int depth);

  bool readCode(const Token& token, uint32_t& code) const;
  // Reads a destination; false when its digits are not hexadecimal.
  bool readUnits(const std::string& digits, CPDFToUnicode::Units& units) const;
  // Sets `code` to `units`, its last unit increased by `offset`; a destination of at most four
  // digits goes to the direct table.
  void assign(uint32_t code, const CPDFToUnicode::Units& units, bool direct, uint32_t offset);
  bool takeRangeWork(uint32_t count);

  CPDFToUnicode& map_;
  size_t codeDigits_;
  const CPDFConfig& config_;
  size_t rangeWork_ = 0;
  bool rangeWorkReported_ = false;
};

}  // namespace qv
