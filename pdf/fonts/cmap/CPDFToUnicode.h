#pragma once

// Maps a character code or CID to up to 8 UTF-16 units: built from a simple font's code
// table, from a font's ToUnicode CMap, or from a character collection's cidToUnicode file.
// A direct table holds one unit per code; codes with several units (ligatures, values above
// U+FFFF) have their own entries. Reference counted: created with one reference, shared by
// fonts and the configuration's cache; one thread at a time.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pdf/config/CharMapLimits.h"
#include "pdf/core/RefCounted.h"

namespace qv {

class CPDFConfig;

class CPDFToUnicode : public RefCounted {
 public:
  // A direct table of the 256 values (0 = none).
  static RefPtr<CPDFToUnicode> fromCodeTable(const std::array<char16_t, 256>& table);
  // Parses a ToUnicode CMap whose codes are `codeBits` (8 or 16) bits wide; usecmap names
  // are looked up in the configuration's ToUnicode folders.
  static RefPtr<CPDFToUnicode> fromToUnicodeStream(std::string_view text, int codeBits,
                                                   const CPDFConfig& config);
  // Reads the cidToUnicode file the configuration names for `collection`; null when none.
  static RefPtr<CPDFToUnicode> fromCidToUnicodeFile(std::string_view collection,
                                                    const CPDFConfig& config);
  // Parses cidToUnicode file text: one hexadecimal Unicode value per line, from CID 0 on.
  static RefPtr<CPDFToUnicode> parseCidToUnicode(std::string_view collection,
                                                 std::string_view text);

  // Copies the units of `code` (at most `capacity`) to `out` and returns their number; 0 when
  // the code has no mapping.
  int map(uint32_t code, char16_t* out, int capacity) const;

  // The collection of a map read from a cidToUnicode file.
  const std::optional<std::string>& collection() const { return collection_; }
  size_t tableSize() const { return direct_.size(); }

 private:
  friend class ToUnicodeCMapParser;

  struct Units {
    std::array<char16_t, kMaxToUnicodeUnits> units{};
    int count = 0;
  };

  CPDFToUnicode() = default;
  void cover(uint32_t code);
  void setDirect(uint32_t code, char16_t unicode);
  void setUnits(uint32_t code, const Units& units);

  std::optional<std::string> collection_;
  std::vector<char16_t> direct_;
  std::unordered_map<uint32_t, Units> multi_;
};

}  // namespace qv
