#pragma once

// Reads the text of a CMap file into a CPDFMap's decoding tree: codespace ranges mark the
// code prefixes that take more bytes, cidrange and cidchar entries set CIDs, usecmap merges another
// CMap of the same collection, /WMode sets the writing mode. bfrange, notdef and other blocks are
// skipped. A malformed entry is reported and dropped. Lives for one parse; borrows the map and the
// configuration.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/fonts/cmap/CMapTokenizer.h"
#include "pdf/fonts/cmap/CPDFMap.h"

namespace qv {

class CMapFileParser {
 public:
  CMapFileParser(CPDFMap& map, CPDFConfig& config) : map_(map), config_(config) {}

  void parse(std::string_view text, int depth);

 private:
  using Token = CMapTokenizer::Token;

  Token parseCodespaceRanges(CMapTokenizer& tokens);
  Token parseCidRanges(CMapTokenizer& tokens, bool singleCodes);
  void addCodespace(const CPDFMap::Codespace& range);
  void addCids(const std::vector<uint8_t>& low, const std::vector<uint8_t>& high, uint32_t cid);
  // Merges the other CMap's node reached by `prefix` (`level` bytes) into `node`.
  void merge(size_t node, const CPDFMap& other, size_t otherNode, uint8_t* prefix, size_t level);
  void useCMap(const std::string& name, int depth);
  // Bytes of a code token: 1 to 4 bytes (codespace ranges use 2 to 4 here).
  static bool codeBytes(const Token& token, std::vector<uint8_t>& bytes);

  CPDFMap& map_;
  CPDFConfig& config_;
};

}  // namespace qv
