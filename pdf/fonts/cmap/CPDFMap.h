#pragma once

// A CMap: decodes the bytes of a string shown with a Type 0 font into CIDs. Read from a CMap
// file of the configuration's folders into a decoding tree (one node of 256 slots per code
// byte, each slot a CID or a child node), or the identity mapping of two-byte codes for
// "Identity-H" and "Identity-V" when no file is found.
//
// The codespace ranges are kept as ranges: a code prefix that some range continues behaves
// as a child node whose slots are all CID 0, and a node is only made where a CID is stored.
// Building every node of a codespace box would take hundreds of megabytes for GBK2K-H and
// the UTF-8 CMaps. Reference counted: created with one
// reference, shared by fonts and the configuration's cache; one thread at a time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/core/RefCounted.h"

namespace qv {

class CPDFConfig;

class CPDFMap : public RefCounted {
 public:
  // The CMap `name` of `collection`: its file, else an identity CMap for the Identity names,
  // else null (reported). `depth` counts the usecmap levels above this one.
  static RefPtr<CPDFMap> load(CPDFConfig& config, std::string_view collection,
                              std::string_view name, int depth = 0);
  // Parses CMap file text; usecmap is resolved through `config`.
  static RefPtr<CPDFMap> parse(CPDFConfig& config, std::string_view collection,
                               std::string_view name, std::string_view text, int depth = 0);
  static RefPtr<CPDFMap> identity(std::string_view collection, std::string_view name,
                                  int writingMode);

  // Decodes the code at the start of `bytes` (`count` > 0); stores the bytes it took.
  uint32_t decodeNext(const uint8_t* bytes, size_t count, size_t& used) const;

  int writingMode() const { return writingMode_; }
  const std::string& collection() const { return collection_; }
  const std::string& name() const { return name_; }
  bool isIdentity() const { return nodes_.empty(); }
  // Number of tree nodes made (1 KB each).
  size_t nodeCount() const { return nodes_.size(); }

 private:
  friend class CMapFileParser;

  // A slot holds a CID, or with kChild set the index of a child node.
  static constexpr uint32_t kChild = 0x80000000u;
  using Node = std::array<uint32_t, 256>;

  // A codespace range of `length` bytes (2 to 4): each byte between those of low and high.
  struct Codespace {
    size_t length;
    std::array<uint8_t, 4> low;
    std::array<uint8_t, 4> high;
  };

  CPDFMap(std::string collection, std::string name)
      : collection_(std::move(collection)), name_(std::move(name)) {}

  // The child index of `slot` of `node`, made when the slot holds a CID; -1 when the tree is
  // full (reported).
  int64_t childOf(size_t node, uint8_t slot);
  // Whether a codespace range continues the code prefix `bytes` (`length` bytes).
  bool continuesPrefix(const uint8_t* bytes, size_t length) const;

  std::string collection_;
  std::string name_;
  int writingMode_ = 0;
  std::vector<Node> nodes_;
  std::vector<Codespace> codespaces_;
  bool full_ = false;
};

}  // namespace qv
