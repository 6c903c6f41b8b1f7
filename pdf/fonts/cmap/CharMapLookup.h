#pragma once

// The configuration's character maps, read once and then taken from its caches: the CMaps by
// (collection, name), the cidToUnicode maps by collection and the output encodings by name.
// Each result carries a reference of its own; null when the data is not found (reported).

#include <string_view>

#include "pdf/config/CPDFConfig.h"
#include "pdf/fonts/cmap/CPDFMap.h"
#include "pdf/fonts/cmap/CPDFToUnicode.h"
#include "pdf/fonts/cmap/CPDFUnicodeMap.h"

namespace qv {

// `depth` counts the usecmap levels above the one asking (0 for a font).
RefPtr<CPDFMap> getCMap(CPDFConfig& config, std::string_view collection, std::string_view name,
                        int depth = 0);
RefPtr<CPDFToUnicode> getCIDToUnicode(CPDFConfig& config, std::string_view collection);
// A resident encoding ("Latin1", "ASCII7", "Symbol", "ZapfDingbats", "UTF-8") or one read
// from the unicodeMap file the configuration names.
RefPtr<CPDFUnicodeMap> getUnicodeMap(CPDFConfig& config, std::string_view encoding);

}  // namespace qv
