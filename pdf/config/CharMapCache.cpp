#include "pdf/config/CharMapCache.h"

#include <algorithm>
#include <utility>

namespace qv {

RefPtr<RefCounted> CharMapCache::find(std::string_view key) {
  for (size_t i = 0; i < kSize; ++i) {
    if (entries_[i].value && entries_[i].key == key) {
      std::rotate(entries_.begin(), entries_.begin() + i, entries_.begin() + i + 1);
      return entries_[0].value;
    }
  }
  return nullptr;
}

void CharMapCache::insert(std::string key, RefPtr<RefCounted> value) {
  std::rotate(entries_.begin(), entries_.end() - 1, entries_.end());
  entries_[0] = Entry{std::move(key), std::move(value)};
}

}  // namespace qv
