#include "pdf/fonts/cmap/CPDFToUnicode.h"

#include <algorithm>
#include <cctype>

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/ToUnicodeCMapParser.h"

namespace qv {

namespace {

constexpr size_t kCidToUnicodeLineLength = 63;

// Reads a line the way "%x" would: leading blanks, an optional 0x, then hex digits up to the
// first other character. False when there is no digit.
bool scanHex(std::string_view line, uint32_t& value) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
    ++i;
  }
  if (i + 1 < line.size() && line[i] == '0' && (line[i + 1] == 'x' || line[i + 1] == 'X')) {
    i += 2;
  }
  size_t start = i;
  while (i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i]))) {
    ++i;
  }
  return i > start && parseHex(line.substr(start, std::min<size_t>(i - start, 8)), value);
}

}  // namespace

RefPtr<CPDFToUnicode> CPDFToUnicode::fromCodeTable(const std::array<char16_t, 256>& table) {
  auto map = RefPtr<CPDFToUnicode>::adopt(new CPDFToUnicode());
  map->direct_.assign(table.begin(), table.end());
  return map;
}

RefPtr<CPDFToUnicode> CPDFToUnicode::fromToUnicodeStream(std::string_view text, int codeBits,
                                                         const CPDFConfig& config) {
  auto map = RefPtr<CPDFToUnicode>::adopt(new CPDFToUnicode());
  ToUnicodeCMapParser(*map, codeBits, config).parse(text, 0);
  return map;
}

RefPtr<CPDFToUnicode> CPDFToUnicode::fromCidToUnicodeFile(std::string_view collection,
                                                          const CPDFConfig& config) {
  ConfigFile file = config.openCIDToUnicodeFile(collection);
  std::optional<std::string> text;
  if (file) {
    text = file.readAll();
  }
  if (!text) {
    reportError(-1, "Couldn't find cidToUnicode file for the '%.*s' collection",
                static_cast<int>(collection.size()), collection.data());
    return nullptr;
  }
  return parseCidToUnicode(collection, *text);
}

RefPtr<CPDFToUnicode> CPDFToUnicode::parseCidToUnicode(std::string_view collection,
                                                       std::string_view text) {
  auto map = RefPtr<CPDFToUnicode>::adopt(new CPDFToUnicode());
  map->collection_ = std::string(collection);
  map->direct_.reserve(32768);
  TextLineReader lines(text, kCidToUnicodeLineLength);
  std::string_view line;
  while (lines.next(line)) {
    uint32_t cid = static_cast<uint32_t>(map->direct_.size());
    if (cid == kMaxCIDToUnicodeEntries) {
      reportError(-1, "Too many lines in cidToUnicode file for the '%.*s' collection",
                  static_cast<int>(collection.size()), collection.data());
      break;
    }
    uint32_t value = 0;
    if (!scanHex(line, value)) {
      reportError(-1, "Bad line (%d) in cidToUnicode file for the '%.*s' collection",
                  static_cast<int>(cid), static_cast<int>(collection.size()), collection.data());
      value = 0;
    }
    map->direct_.push_back(0);
    if (value > 0xFFFF && value <= 0x10FFFF) {
      // Beyond the 16-bit table: kept as a surrogate pair.
      Units units;
      units.units[0] = static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
      units.units[1] = static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
      units.count = 2;
      map->multi_[cid] = units;
    } else if (value <= 0xFFFF) {
      map->direct_[cid] = static_cast<char16_t>(value);
    }
  }
  return map;
}

void CPDFToUnicode::cover(uint32_t code) {
  if (code >= direct_.size()) {
    direct_.resize((code + 256) & ~uint32_t{255}, 0);
  }
}

void CPDFToUnicode::setDirect(uint32_t code, char16_t unicode) {
  cover(code);
  direct_[code] = unicode;
  multi_.erase(code);
}

void CPDFToUnicode::setUnits(uint32_t code, const Units& units) {
  cover(code);
  direct_[code] = 0;
  multi_[code] = units;
}

int CPDFToUnicode::map(uint32_t code, char16_t* out, int capacity) const {
  if (code >= direct_.size() || capacity <= 0) {
    return 0;
  }
  if (direct_[code] != 0) {
    out[0] = direct_[code];
    return 1;
  }
  auto it = multi_.find(code);
  if (it == multi_.end()) {
    return 0;
  }
  int n = std::min(it->second.count, capacity);
  std::copy_n(it->second.units.begin(), n, out);
  return n;
}

}  // namespace qv
