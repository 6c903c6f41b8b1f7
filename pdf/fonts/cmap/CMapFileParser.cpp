#include "pdf/fonts/cmap/CMapFileParser.h"

#include <algorithm>

#include "pdf/config/CharMapLimits.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CharMapLookup.h"

namespace qv {

namespace {

uint32_t codeValue(const std::vector<uint8_t>& bytes) {
  uint32_t value = 0;
  for (uint8_t b : bytes) {
    value = value << 8 | b;
  }
  return value;
}

}  // namespace

bool CMapFileParser::codeBytes(const Token& token, std::vector<uint8_t>& bytes) {
  return token.kind == CMapTokenizer::Kind::Hex && CMapTokenizer::hexBytes(token.text, bytes) &&
         !bytes.empty() && bytes.size() <= static_cast<size_t>(kMaxCodeBytes);
}

void CMapFileParser::parse(std::string_view text, int depth) {
  CMapTokenizer tokens(text);
  Token previous;
  Token token = tokens.next();
  while (token.kind != CMapTokenizer::Kind::End) {
    Token pending;
    if (token.isWord("usecmap") && previous.kind == CMapTokenizer::Kind::Name) {
      useCMap(previous.text, depth);
    } else if (token.isWord("begincodespacerange")) {
      pending = parseCodespaceRanges(tokens);
    } else if (token.isWord("begincidrange")) {
      pending = parseCidRanges(tokens, false);
    } else if (token.isWord("begincidchar")) {
      pending = parseCidRanges(tokens, true);
    } else if (token.kind == CMapTokenizer::Kind::Word &&
               previous.kind == CMapTokenizer::Kind::Name && previous.text == "WMode") {
      int mode = 0;
      if (parseDecimal(token.text, mode)) {
        map_.writingMode_ = mode == 1 ? 1 : 0;
      }
    }
    previous = std::move(token);
    token = pending.kind != CMapTokenizer::Kind::End ? std::move(pending) : tokens.next();
  }
}

void CMapFileParser::useCMap(const std::string& name, int depth) {
  if (depth + 1 > kMaxUseCMapDepth) {
    reportError(-1, "Too many nested usecmap in CMap '%s'", map_.name_.c_str());
    return;
  }
  RefPtr<CPDFMap> other = getCMap(config_, map_.collection_, name, depth + 1);
  if (!other || other->nodes_.empty()) {
    return;
  }
  uint8_t prefix[kMaxCodeBytes] = {};
  merge(0, *other, 0, prefix, 0);
  for (const CPDFMap::Codespace& range : other->codespaces_) {
    addCodespace(range);
  }
}

void CMapFileParser::merge(size_t node, const CPDFMap& other, size_t otherNode, uint8_t* prefix,
                           size_t level) {
  for (size_t slot = 0; slot < 256; ++slot) {
    prefix[level] = static_cast<uint8_t>(slot);
    uint32_t value = other.nodes_[otherNode][slot];
    if (value & CPDFMap::kChild) {
      if (level + 1 >= static_cast<size_t>(kMaxCodeBytes)) {
        continue;
      }
      int64_t child = map_.childOf(node, static_cast<uint8_t>(slot));
      if (child < 0) {
        return;
      }
      merge(static_cast<size_t>(child), other, value & ~CPDFMap::kChild, prefix, level + 1);
    } else if (value == 0 && other.continuesPrefix(prefix, level + 1)) {
      // A child of the other CMap's codespace: its ranges are added to this one.
    } else if ((map_.nodes_[node][slot] & CPDFMap::kChild) ||
               map_.continuesPrefix(prefix, level + 1)) {
      reportError(-1, "Collision in usecmap");
    } else {
      map_.nodes_[node][slot] = value;
    }
  }
}

void CMapFileParser::addCodespace(const CPDFMap::Codespace& range) {
  if (map_.codespaces_.size() >= kMaxCodespaceRanges) {
    reportError(-1, "Too many codespace ranges in CMap '%s'", map_.name_.c_str());
    return;
  }
  map_.codespaces_.push_back(range);
}

CMapFileParser::Token CMapFileParser::parseCodespaceRanges(CMapTokenizer& tokens) {
  std::vector<uint8_t> low;
  std::vector<uint8_t> high;
  for (;;) {
    Token first = tokens.next();
    if (first.kind == CMapTokenizer::Kind::End || first.isWord("endcodespacerange")) {
      return Token();
    }
    if (first.kind == CMapTokenizer::Kind::Word) {
      return first;
    }
    Token second = tokens.next();
    if (!codeBytes(first, low) || !codeBytes(second, high) || low.size() != high.size()) {
      if (second.kind == CMapTokenizer::Kind::Word) {
        return second;
      }
      continue;
    }
    if (low.size() >= 2) {
      CPDFMap::Codespace range{low.size(), {}, {}};
      std::copy(low.begin(), low.end(), range.low.begin());
      std::copy(high.begin(), high.end(), range.high.begin());
      addCodespace(range);
    }
  }
}

CMapFileParser::Token CMapFileParser::parseCidRanges(CMapTokenizer& tokens, bool singleCodes) {
  const char* endWord = singleCodes ? "endcidchar" : "endcidrange";
  std::vector<uint8_t> low;
  std::vector<uint8_t> high;
  for (;;) {
    Token first = tokens.next();
    if (first.kind == CMapTokenizer::Kind::End || first.isWord(endWord)) {
      return Token();
    }
    if (first.kind == CMapTokenizer::Kind::Word) {
      return first;
    }
    Token second = singleCodes ? first : tokens.next();
    Token cidToken = tokens.next();
    int cid = 0;
    if (!codeBytes(first, low) || !codeBytes(second, high) || low.size() != high.size() ||
        cidToken.kind != CMapTokenizer::Kind::Word || !parseDecimal(cidToken.text, cid) ||
        cid < 0) {
      if (cidToken.kind == CMapTokenizer::Kind::Word && !parseDecimal(cidToken.text, cid)) {
        return cidToken;
      }
      continue;
    }
    addCids(low, high, static_cast<uint32_t>(cid));
  }
}

void CMapFileParser::addCids(const std::vector<uint8_t>& low, const std::vector<uint8_t>& high,
                             uint32_t cid) {
  const size_t n = low.size();
  auto invalid = [&] {
    reportError(-1, "Invalid CID (%*x - %*x) in CMap", static_cast<int>(2 * n), codeValue(low),
                static_cast<int>(2 * n), codeValue(high));
  };
  size_t node = 0;
  for (size_t i = 0; i + 1 < n; ++i) {
    uint32_t slot = map_.nodes_[node][low[i]];
    if (!(slot & CPDFMap::kChild)) {
      // The prefix must belong to the codespace; its node is made now.
      if (slot != 0 || !map_.continuesPrefix(low.data(), i + 1)) {
        invalid();
        return;
      }
      int64_t child = map_.childOf(node, low[i]);
      if (child < 0) {
        return;
      }
      slot = static_cast<uint32_t>(child) | CPDFMap::kChild;
    }
    node = slot & ~CPDFMap::kChild;
  }
  std::vector<uint8_t> code = low;
  for (unsigned b = low[n - 1]; b <= high[n - 1]; ++b) {
    code[n - 1] = static_cast<uint8_t>(b);
    uint32_t& slot = map_.nodes_[node][b];
    uint32_t value = cid + (b - low[n - 1]);
    if ((slot & CPDFMap::kChild) || map_.continuesPrefix(code.data(), n) || value > kMaxCID) {
      invalid();
      continue;
    }
    slot = value;
  }
}

}  // namespace qv
