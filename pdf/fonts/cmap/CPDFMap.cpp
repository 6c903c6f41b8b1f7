#include "pdf/fonts/cmap/CPDFMap.h"

#include "pdf/config/CPDFConfig.h"
#include "pdf/config/CharMapLimits.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/fonts/cmap/CMapFileParser.h"

namespace qv {

RefPtr<CPDFMap> CPDFMap::load(CPDFConfig& config, std::string_view collection,
                              std::string_view name, int depth) {
  ConfigFile file = config.findCMapFile(collection, name);
  std::optional<std::string> text;
  if (file) {
    text = file.readAll();
  }
  if (text) {
    return parse(config, collection, name, *text, depth);
  }
  if (name == "Identity" || name == "Identity-H") {
    return identity(collection, name, 0);
  }
  if (name == "Identity-V") {
    return identity(collection, name, 1);
  }
  reportError(-1, "Couldn't find '%.*s' CMap file for '%.*s' collection",
              static_cast<int>(name.size()), name.data(), static_cast<int>(collection.size()),
              collection.data());
  return nullptr;
}

RefPtr<CPDFMap> CPDFMap::parse(CPDFConfig& config, std::string_view collection,
                               std::string_view name, std::string_view text, int depth) {
  auto map = RefPtr<CPDFMap>::adopt(new CPDFMap(std::string(collection), std::string(name)));
  // A file always gives a tree, even an empty one, so it is never taken for an identity map.
  map->nodes_.emplace_back();
  map->nodes_[0].fill(0);
  CMapFileParser(*map, config).parse(text, depth);
  return map;
}

RefPtr<CPDFMap> CPDFMap::identity(std::string_view collection, std::string_view name,
                                  int writingMode) {
  auto map = RefPtr<CPDFMap>::adopt(new CPDFMap(std::string(collection), std::string(name)));
  map->writingMode_ = writingMode;
  return map;
}

int64_t CPDFMap::childOf(size_t node, uint8_t slot) {
  uint32_t value = nodes_[node][slot];
  if (value & kChild) {
    return value & ~kChild;
  }
  if (nodes_.size() >= kMaxCMapTreeNodes) {
    if (!full_) {
      reportError(-1, "CMap '%s' needs too many decoding nodes", name_.c_str());
      full_ = true;
    }
    return -1;
  }
  nodes_.emplace_back();
  nodes_.back().fill(0);
  uint32_t child = static_cast<uint32_t>(nodes_.size() - 1);
  nodes_[node][slot] = child | kChild;
  return child;
}

bool CPDFMap::continuesPrefix(const uint8_t* bytes, size_t length) const {
  for (const Codespace& range : codespaces_) {
    if (range.length <= length) {
      continue;
    }
    size_t i = 0;
    while (i < length && bytes[i] >= range.low[i] && bytes[i] <= range.high[i]) {
      ++i;
    }
    if (i == length) {
      return true;
    }
  }
  return false;
}

uint32_t CPDFMap::decodeNext(const uint8_t* bytes, size_t count, size_t& used) const {
  if (nodes_.empty()) {
    if (count < 2) {
      used = count;
      return 0;
    }
    used = 2;
    return uint32_t{bytes[0]} << 8 | bytes[1];
  }
  size_t node = 0;
  size_t i = 0;
  for (; i < count; ++i) {
    uint32_t slot = nodes_[node][bytes[i]];
    if (!(slot & kChild)) {
      if (slot != 0 || !continuesPrefix(bytes, i + 1)) {
        used = i + 1;
        return slot;
      }
      break;
    }
    node = slot & ~kChild;
  }
  // A prefix of the codespace that no node was made for: its codes all have CID 0, and the
  // code takes as many bytes as the codespace gives it.
  for (++i; i < count; ++i) {
    if (!continuesPrefix(bytes, i + 1)) {
      used = i + 1;
      return 0;
    }
  }
  used = count;
  return 0;
}

}  // namespace qv
