#pragma once

// A table from glyph names to character codes (Unicode values, or codes of an encoding): an
// open-addressing hash table keyed by name, with the hash h = h * 17 + byte over the name's
// bytes modulo the capacity. Collisions probe the following slots, wrapping at the end. The
// capacity starts at 31 and becomes 2 * capacity + 1, rehashing every entry, when the number
// of names reaches half of it, so a probe always ends at a free slot. Adding a name again
// replaces its value. Keys are copied. A plain value owned by the configuration.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CPDFNameToCharCode {
 public:
  CPDFNameToCharCode();

  void add(std::string_view name, uint32_t code);
  // The code stored for `name`, or nothing.
  std::optional<uint32_t> lookup(std::string_view name) const;

  size_t size() const { return size_; }
  size_t capacity() const { return slots_.size(); }

 private:
  struct Slot {
    bool used = false;
    std::string name;
    uint32_t code = 0;
  };

  size_t hash(std::string_view name) const;
  size_t findSlot(std::string_view name) const;
  void grow();

  std::vector<Slot> slots_;
  size_t size_ = 0;
};

}  // namespace qv
