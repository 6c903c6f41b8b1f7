#pragma once

// Maps a Unicode value to the bytes of an output encoding: one of the resident encodings
// ("Latin1", "ASCII7", "Symbol", "ZapfDingbats" as range tables, "UTF-8" computed) or an
// encoding read from a unicodeMap file. Reference counted: created with one reference, shared
// by the configuration's cache and whoever asked for it; one thread at a time.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/core/RefCounted.h"
#include "pdf/fonts/cmap/ResidentUnicodeMaps.h"

namespace qv {

class CPDFConfig;

class CPDFUnicodeMap : public RefCounted {
 public:
  // The resident map of that name, or null.
  static RefPtr<CPDFUnicodeMap> resident(std::string_view encoding);
  // Reads the unicodeMap file the configuration names for `encoding`; null when there is none.
  static RefPtr<CPDFUnicodeMap> fromFile(const CPDFConfig& config, std::string_view encoding);
  // Parses unicodeMap file text: lines of "first last code" or "value code" in hexadecimal.
  static RefPtr<CPDFUnicodeMap> parse(std::string_view encoding, std::string_view text);

  // Writes the bytes of `unicode` to `out`; returns their number, 0 when the value is not
  // mapped or `capacity` is too small.
  int map(char16_t unicode, uint8_t* out, int capacity) const;

  const std::string& encodingName() const { return encoding_; }

 private:
  enum class Kind { File, Ranges, Utf8 };
  struct MultiByte {
    char16_t unicode;
    std::vector<uint8_t> bytes;
  };

  CPDFUnicodeMap(std::string encoding, Kind kind) : encoding_(std::move(encoding)), kind_(kind) {}

  std::string encoding_;
  Kind kind_;
  std::span<const UnicodeMapRange> ranges_;
  std::vector<UnicodeMapRange> ownRanges_;
  std::vector<MultiByte> multiBytes_;
};

}  // namespace qv
