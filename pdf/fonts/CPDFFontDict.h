#pragma once

// The fonts of one Font resource dictionary, one slot per entry (empty where the font could
// not be built), looked up by resource name. Owned by a resource level of the content
// interpreter; owns its fonts.

#include <memory>
#include <string_view>
#include <vector>

#include "pdf/fonts/CPDFFont.h"

namespace qv {

class CPDFFontDict {
 public:
  CPDFFontDict(CPDFFontContext& context, const CPDFDict& fontResources);

  // The first font whose tag equals `tag` byte for byte, or nullptr.
  CPDFFont* lookup(std::string_view tag) const;
  int count() const { return static_cast<int>(fonts_.size()); }
  CPDFFont* at(int i) const { return fonts_[i].get(); }

 private:
  std::vector<std::unique_ptr<CPDFFont>> fonts_;
};

}  // namespace qv
