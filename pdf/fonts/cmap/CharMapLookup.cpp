#include "pdf/fonts/cmap/CharMapLookup.h"

#include <string>

namespace qv {

namespace {

template <typename T>
RefPtr<T> cached(CharMapCache& cache, const std::string& key) {
  RefPtr<RefCounted> hit = cache.find(key);
  return RefPtr<T>(RefPtr<T>::adopt(static_cast<T*>(hit.leak())));
}

}  // namespace

RefPtr<CPDFMap> getCMap(CPDFConfig& config, std::string_view collection, std::string_view name,
                        int depth) {
  std::string key = std::string(collection) + '\n' + std::string(name);
  if (RefPtr<CPDFMap> map = cached<CPDFMap>(config.cmapCache(), key)) {
    return map;
  }
  RefPtr<CPDFMap> map = CPDFMap::load(config, collection, name, depth);
  if (map) {
    config.cmapCache().insert(std::move(key), map);
  }
  return map;
}

RefPtr<CPDFToUnicode> getCIDToUnicode(CPDFConfig& config, std::string_view collection) {
  std::string key(collection);
  if (RefPtr<CPDFToUnicode> map = cached<CPDFToUnicode>(config.cidToUnicodeCache(), key)) {
    return map;
  }
  RefPtr<CPDFToUnicode> map = CPDFToUnicode::fromCidToUnicodeFile(collection, config);
  if (map) {
    config.cidToUnicodeCache().insert(std::move(key), map);
  }
  return map;
}

RefPtr<CPDFUnicodeMap> getUnicodeMap(CPDFConfig& config, std::string_view encoding) {
  if (RefPtr<CPDFUnicodeMap> map = CPDFUnicodeMap::resident(encoding)) {
    return map;
  }
  std::string key(encoding);
  if (RefPtr<CPDFUnicodeMap> map = cached<CPDFUnicodeMap>(config.unicodeMapCache(), key)) {
    return map;
  }
  RefPtr<CPDFUnicodeMap> map = CPDFUnicodeMap::fromFile(config, encoding);
  if (map) {
    config.unicodeMapCache().insert(std::move(key), map);
  }
  return map;
}

}  // namespace qv
