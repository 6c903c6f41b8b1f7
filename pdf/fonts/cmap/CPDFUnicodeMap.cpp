#include "pdf/fonts/cmap/CPDFUnicodeMap.h"

#include <algorithm>

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/CharMapLimits.h"
#include "pdf/config/TextLineReader.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

constexpr size_t kUnicodeMapLineLength = 255;

int encodeUtf8(char16_t unicode, uint8_t* out, int capacity) {
  uint32_t u = unicode;
  if (u < 0x80) {
    if (capacity < 1) {
      return 0;
    }
    out[0] = static_cast<uint8_t>(u);
    return 1;
  }
  if (u < 0x800) {
    if (capacity < 2) {
      return 0;
    }
    out[0] = static_cast<uint8_t>(0xC0 | (u >> 6));
    out[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
    return 2;
  }
  if (capacity < 3) {
    return 0;
  }
  out[0] = static_cast<uint8_t>(0xE0 | ((u >> 12) & 0x0F));
  out[1] = static_cast<uint8_t>(0x80 | ((u >> 6) & 0x3F));
  out[2] = static_cast<uint8_t>(0x80 | (u & 0x3F));
  return 3;
}

}  // namespace

RefPtr<CPDFUnicodeMap> CPDFUnicodeMap::resident(std::string_view encoding) {
  struct Resident {
    std::string_view name;
    std::span<const UnicodeMapRange> (*ranges)();
  };
  static constexpr Resident kResident[] = {
      {"Latin1", latin1UnicodeMapRanges},
      {"ASCII7", ascii7UnicodeMapRanges},
      {"Symbol", symbolUnicodeMapRanges},
      {"ZapfDingbats", zapfDingbatsUnicodeMapRanges},
  };
  if (encoding == "UTF-8") {
    return RefPtr<CPDFUnicodeMap>::adopt(new CPDFUnicodeMap("UTF-8", Kind::Utf8));
  }
  for (const Resident& r : kResident) {
    if (encoding == r.name) {
      auto map =
          RefPtr<CPDFUnicodeMap>::adopt(new CPDFUnicodeMap(std::string(r.name), Kind::Ranges));
      map->ranges_ = r.ranges();
      return map;
    }
  }
  return nullptr;
}

RefPtr<CPDFUnicodeMap> CPDFUnicodeMap::fromFile(const CPDFConfig& config,
                                                std::string_view encoding) {
  ConfigFile file = config.openUnicodeMapFile(encoding);
  std::optional<std::string> text;
  if (file) {
    text = file.readAll();
  }
  if (!text) {
    reportError(-1, "Couldn't find unicodeMap file for the '%.*s' encoding",
                static_cast<int>(encoding.size()), encoding.data());
    return nullptr;
  }
  return parse(encoding, *text);
}

RefPtr<CPDFUnicodeMap> CPDFUnicodeMap::parse(std::string_view encoding, std::string_view text) {
  auto map = RefPtr<CPDFUnicodeMap>::adopt(new CPDFUnicodeMap(std::string(encoding), Kind::File));
  map->ownRanges_.reserve(8);
  TextLineReader lines(text, kUnicodeMapLineLength);
  std::string_view line;
  int lineNumber = 1;
  for (; lines.next(line); ++lineNumber) {
    std::vector<std::string_view> tokens = splitTokens(line, 3);
    uint32_t first = 0;
    uint32_t last = 0;
    uint32_t code = 0;
    bool ok = false;
    if (tokens.size() == 3 && tokens[2].size() <= 9 && parseHex(tokens[0], first) &&
        parseHex(tokens[1], last) && parseHex(tokens[2], code)) {
      map->ownRanges_.push_back({static_cast<char16_t>(first), static_cast<char16_t>(last), code,
                                 static_cast<int>(tokens[2].size() / 2)});
      ok = true;
    } else if (tokens.size() == 2 && tokens[1].size() <= 9 && parseHex(tokens[0], first) &&
               parseHex(tokens[1], code)) {
      map->ownRanges_.push_back({static_cast<char16_t>(first), static_cast<char16_t>(first), code,
                                 static_cast<int>(tokens[1].size() / 2)});
      ok = true;
    } else if (tokens.size() == 2 && tokens[1].size() > 9 && parseHex(tokens[0], first)) {
      // A long code: its bytes, two hex digits each.
      MultiByte entry{static_cast<char16_t>(first), {}};
      std::string_view digits = tokens[1];
      ok = true;
      for (size_t i = 0; i + 1 < digits.size() && ok; i += 2) {
        uint32_t byte = 0;
        ok = parseHex(digits.substr(i, 2), byte);
        entry.bytes.push_back(static_cast<uint8_t>(byte));
      }
      if (ok && static_cast<int>(entry.bytes.size()) <= kMaxUnicodeMapBytes) {
        map->multiBytes_.push_back(std::move(entry));
      } else {
        ok = false;
      }
    }
    if (!ok) {
      reportError(-1, "Bad line (%d) in unicodeMap file for the '%.*s' encoding", lineNumber,
                  static_cast<int>(encoding.size()), encoding.data());
    }
  }
  map->ranges_ = map->ownRanges_;
  return map;
}

int CPDFUnicodeMap::map(char16_t unicode, uint8_t* out, int capacity) const {
  if (kind_ == Kind::Utf8) {
    return encodeUtf8(unicode, out, capacity);
  }
  if (!ranges_.empty() && unicode >= ranges_.front().first) {
    // The last range starting at or before the value (ranges are sorted by first value).
    auto it = std::upper_bound(ranges_.begin(), ranges_.end(), unicode,
                               [](char16_t u, const UnicodeMapRange& r) { return u < r.first; });
    const UnicodeMapRange& range = *(it - 1);
    if (unicode <= range.last) {
      if (range.bytes > capacity) {
        return 0;
      }
      uint32_t code = range.code + (unicode - range.first);
      for (int i = range.bytes - 1; i >= 0; --i) {
        out[i] = static_cast<uint8_t>(code);
        code >>= 8;
      }
      return range.bytes;
    }
  }
  for (const MultiByte& entry : multiBytes_) {
    if (entry.unicode == unicode) {
      int n = static_cast<int>(entry.bytes.size());
      if (n > capacity) {
        return 0;
      }
      std::copy(entry.bytes.begin(), entry.bytes.end(), out);
      return n;
    }
  }
  return 0;
}

}  // namespace qv
