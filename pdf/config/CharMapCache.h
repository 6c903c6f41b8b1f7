#pragma once

// A most-recently-used cache of four character maps (CMaps, cidToUnicode maps, unicodeMap
// encodings) keyed by text, so a document's fonts do not read the same file again. It holds
// one reference to each entry; a hit moves the entry to the front, an insertion puts the new
// entry first and drops the fourth. The maps are kept as RefCounted here because the map
// classes live above the configuration; their loaders cast back. Owned by CPDFConfig.

#include <array>
#include <string>
#include <string_view>

#include "pdf/core/RefCounted.h"

namespace qv {

class CharMapCache {
 public:
  static constexpr size_t kSize = 4;

  // The entry for `key` with one more reference, moved to the front; null on a miss.
  RefPtr<RefCounted> find(std::string_view key);
  // Puts `value` first under `key`, releasing the entry that falls off the end.
  void insert(std::string key, RefPtr<RefCounted> value);

 private:
  struct Entry {
    std::string key;
    RefPtr<RefCounted> value;
  };
  std::array<Entry, kSize> entries_;
};

}  // namespace qv
