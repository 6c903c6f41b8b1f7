#include "pdf/fonts/cmap/ToUnicodeCMapParser.h"

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/CharMapLimits.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

bool isDelimiter(const CMapTokenizer::Token& token, std::string_view text) {
  return token.kind == CMapTokenizer::Kind::Delimiter && token.text == text;
}

// Skips an array's elements up to its closing bracket.
void skipArray(CMapTokenizer& tokens) {
  for (auto t = tokens.next(); t.kind != CMapTokenizer::Kind::End && !isDelimiter(t, "]");
       t = tokens.next()) {
  }
}

}  // namespace

void ToUnicodeCMapParser::parse(std::string_view text, int depth) {
  CMapTokenizer tokens(text);
  Token previous;
  Token token = tokens.next();
  while (token.kind != CMapTokenizer::Kind::End) {
    Token pending;
    if (token.isWord("usecmap") && previous.kind == CMapTokenizer::Kind::Name) {
      useCMap(previous.text, depth);
    } else if (token.isWord("beginbfchar")) {
      pending = parseBfchar(tokens);
    } else if (token.isWord("beginbfrange")) {
      pending = parseBfrange(tokens);
    }
    previous = std::move(token);
    token = pending.kind != CMapTokenizer::Kind::End ? std::move(pending) : tokens.next();
  }
}

void ToUnicodeCMapParser::useCMap(const std::string& name, int depth) {
  if (depth + 1 > kMaxUseCMapDepth) {
    reportError(-1, "Too many nested usecmap in ToUnicode CMap ('%s')", name.c_str());
    return;
  }
  ConfigFile file = config_.findToUnicodeFile(name);
  std::optional<std::string> text;
  if (file) {
    text = file.readAll();
  }
  if (!text) {
    reportError(-1, "Couldn't find ToUnicode CPDFMap file for '%s'", name.c_str());
    return;
  }
  parse(*text, depth + 1);
}

bool ToUnicodeCMapParser::readCode(const Token& token, uint32_t& code) const {
  return token.kind == CMapTokenizer::Kind::Hex && token.text.size() == codeDigits_ &&
         parseHex(token.text, code);
}

bool ToUnicodeCMapParser::readUnits(const std::string& digits, CPDFToUnicode::Units& units) const {
  units = CPDFToUnicode::Units();
  if (digits.size() < 4) {
    // Fewer than four digits: one value, as a lenient reading of short destinations.
    uint32_t value = 0;
    if (!parseHex(digits, value)) {
      return false;
    }
    units.units[0] = static_cast<char16_t>(value);
    units.count = 1;
    return true;
  }
  size_t count = digits.size() / 4;
  for (size_t i = 0; i < count; ++i) {
    uint32_t value = 0;
    if (!parseHex(std::string_view(digits).substr(4 * i, 4), value)) {
      return false;
    }
    if (i < units.units.size()) {
      units.units[i] = static_cast<char16_t>(value);
      units.count = static_cast<int>(i + 1);
    }
  }
  return true;
}

void ToUnicodeCMapParser::assign(uint32_t code, const CPDFToUnicode::Units& units, bool direct,
                                 uint32_t offset) {
  CPDFToUnicode::Units shifted = units;
  char16_t& last = shifted.units[shifted.count - 1];
  last = static_cast<char16_t>(last + offset);
  if (direct) {
    map_.setDirect(code, shifted.units[0]);
  } else {
    map_.setUnits(code, shifted);
  }
}

bool ToUnicodeCMapParser::takeRangeWork(uint32_t count) {
  if (rangeWork_ + count > kMaxToUnicodeRangeWork) {
    if (!rangeWorkReported_) {
      reportError(-1, "Too many bfrange entries in ToUnicode CMap");
      rangeWorkReported_ = true;
    }
    return false;
  }
  rangeWork_ += count;
  return true;
}

ToUnicodeCMapParser::Token ToUnicodeCMapParser::parseBfchar(CMapTokenizer& tokens) {
  for (;;) {
    Token source = tokens.next();
    if (source.kind == CMapTokenizer::Kind::End || source.isWord("endbfchar")) {
      return Token();
    }
    if (source.kind == CMapTokenizer::Kind::Word) {
      return source;
    }
    Token dest = tokens.next();
    if (dest.kind == CMapTokenizer::Kind::End) {
      reportError(-1, "Illegal bfchar block in ToUnicode CPDFMap");
      return Token();
    }
    uint32_t code = 0;
    if (!readCode(source, code) || dest.kind != CMapTokenizer::Kind::Hex || dest.text.empty()) {
      reportError(-1, "Illegal line in bfchar block in ToUnicode CMap");
      if (isDelimiter(dest, "[")) {
        skipArray(tokens);
      } else if (dest.kind == CMapTokenizer::Kind::Word) {
        return dest;
      }
      continue;
    }
    CPDFToUnicode::Units units;
    if (!readUnits(dest.text, units)) {
      reportError(-1, "Illegal line in bfchar block in ToUnicode CPDFMap");
      continue;
    }
    assign(code, units, dest.text.size() <= 4, 0);
  }
}

ToUnicodeCMapParser::Token ToUnicodeCMapParser::parseBfrange(CMapTokenizer& tokens) {
  for (;;) {
    Token low = tokens.next();
    if (low.kind == CMapTokenizer::Kind::End || low.isWord("endbfrange")) {
      return Token();
    }
    if (low.kind == CMapTokenizer::Kind::Word) {
      return low;
    }
    Token high = tokens.next();
    Token dest = high.kind == CMapTokenizer::Kind::End ? Token() : tokens.next();
    if (dest.kind == CMapTokenizer::Kind::End) {
      reportError(-1, "Illegal bfrange block in ToUnicode CPDFMap");
      return Token();
    }
    uint32_t first = 0;
    uint32_t last = 0;
    bool isArray = isDelimiter(dest, "[");
    if (!readCode(low, first) || !readCode(high, last) ||
        (!isArray && (dest.kind != CMapTokenizer::Kind::Hex || dest.text.empty()))) {
      reportError(-1, "Illegal line in bfrange block in ToUnicode CPDFMap");
      if (isArray) {
        skipArray(tokens);
      } else if (dest.kind == CMapTokenizer::Kind::Word) {
        return dest;
      }
      continue;
    }
    if (isArray) {
      // One destination per code, in order (PDF 1.7, 9.10.3).
      uint32_t code = first;
      for (Token element = tokens.next();
           element.kind != CMapTokenizer::Kind::End && !isDelimiter(element, "]");
           element = tokens.next()) {
        CPDFToUnicode::Units units;
        if (code > last || element.kind != CMapTokenizer::Kind::Hex || element.text.empty() ||
            !readUnits(element.text, units) || !takeRangeWork(1)) {
          continue;
        }
        assign(code++, units, element.text.size() <= 4, 0);
      }
      continue;
    }
    CPDFToUnicode::Units units;
    if (!readUnits(dest.text, units)) {
      reportError(-1, "Illegal line in bfrange block in ToUnicode CPDFMap");
      continue;
    }
    if (last < first || !takeRangeWork(last - first + 1)) {
      continue;
    }
    for (uint32_t code = first; code <= last; ++code) {
      assign(code, units, dest.text.size() <= 4, code - first);
    }
  }
}

}  // namespace qv
