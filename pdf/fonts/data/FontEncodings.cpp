#include "pdf/fonts/data/FontEncodings.h"

#include "pdf/config/MacRomanEncoding.h"

namespace qv {

const FontEncodingTable& macRomanEncoding() {
  return macRomanEncodingNames();
}

const FontEncodingTable* findBaseEncoding(std::string_view name) {
  if (name == "MacRomanEncoding") {
    return &macRomanEncoding();
  }
  if (name == "MacExpertEncoding") {
    return &macExpertEncoding();
  }
  if (name == "WinAnsiEncoding") {
    return &winAnsiEncoding();
  }
  if (name == "StandardEncoding") {
    return &standardEncoding();
  }
  return nullptr;
}

}  // namespace qv
