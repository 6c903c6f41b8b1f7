#include "pdf/fonts/cmap/CMapFileParser.h"

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
  if (map_.nodes_.empty()) {
    map_.nodes_.emplace_back();
    map_.nodes_[0].fill(0);
  }
  merge(0, *other, 0, 1);
}

void CMapFileParser::merge(size_t node, const CPDFMap& other, size_t otherNode, int level) {
  for (size_t slot = 0; slot < 256; ++slot) {
    uint32_t value = other.nodes_[otherNode][slot];
    if (value & CPDFMap::kChild) {
      if (level >= kMaxCodeBytes) {
        continue;
      }
      int64_t child = map_.childOf(node, static_cast<uint8_t>(slot));
      if (child < 0) {
        return;
      }
      merge(static_cast<size_t>(child), other, value & ~CPDFMap::kChild, level + 1);
    } else if (map_.nodes_[node][slot] & CPDFMap::kChild) {
      reportError(-1, "Collision in usecmap");
    } else {
      map_.nodes_[node][slot] = value;
    }
  }
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
      if (map_.nodes_.empty()) {
        map_.nodes_.emplace_back();
        map_.nodes_[0].fill(0);
      }
      addCodespace(0, low.data(), high.data(), low.size());
    }
  }
}

void CMapFileParser::addCodespace(size_t node, const uint8_t* low, const uint8_t* high, size_t n) {
  for (unsigned b = low[0]; b <= high[0]; ++b) {
    int64_t child = map_.childOf(node, static_cast<uint8_t>(b));
    if (child < 0) {
      return;
    }
    if (n - 1 >= 2) {
      addCodespace(static_cast<size_t>(child), low + 1, high + 1, n - 1);
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
    if (map_.nodes_.empty()) {
      map_.nodes_.emplace_back();
      map_.nodes_[0].fill(0);
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
      invalid();
      return;
    }
    node = slot & ~CPDFMap::kChild;
  }
  for (unsigned b = low[n - 1]; b <= high[n - 1]; ++b) {
    uint32_t& slot = map_.nodes_[node][b];
    uint32_t value = cid + (b - low[n - 1]);
    if ((slot & CPDFMap::kChild) || value > kMaxCID) {
      invalid();
      continue;
    }
    slot = value;
  }
}

}  // namespace qv
