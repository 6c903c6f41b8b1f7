#include "pdf/config/CPDFNameToCharCode.h"

#include <utility>

namespace qv {

namespace {
constexpr size_t kInitialCapacity = 31;
}  // namespace

CPDFNameToCharCode::CPDFNameToCharCode() : slots_(kInitialCapacity) {}

size_t CPDFNameToCharCode::hash(std::string_view name) const {
  uint32_t h = 0;
  for (unsigned char c : name) {
    h = h * 17 + c;
  }
  return h % slots_.size();
}

size_t CPDFNameToCharCode::findSlot(std::string_view name) const {
  // The table is never more than half full, so this ends at the name or a free slot.
  size_t i = hash(name);
  while (slots_[i].used && slots_[i].name != name) {
    i = (i + 1) % slots_.size();
  }
  return i;
}

void CPDFNameToCharCode::grow() {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(2 * slots_.size() + 1));
  for (Slot& slot : old) {
    if (slot.used) {
      Slot& target = slots_[findSlot(slot.name)];
      target = std::move(slot);
    }
  }
}

void CPDFNameToCharCode::add(std::string_view name, uint32_t code) {
  Slot& slot = slots_[findSlot(name)];
  slot.code = code;
  if (slot.used) {
    return;
  }
  slot.used = true;
  slot.name = std::string(name);
  if (++size_ >= slots_.size() / 2) {
    grow();
  }
}

std::optional<uint32_t> CPDFNameToCharCode::lookup(std::string_view name) const {
  const Slot& slot = slots_[findSlot(name)];
  if (!slot.used) {
    return std::nullopt;
  }
  return slot.code;
}

}  // namespace qv
