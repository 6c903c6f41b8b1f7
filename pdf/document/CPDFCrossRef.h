#pragma once

// The cross-reference table: maps object numbers to the byte offsets of their definitions
// and fetches indirect objects for every reference of the document. Reads classic tables
// ("xref" followed by subsections of 20-byte entries) along the Prev chain from the last
// startxref; when that fails (a damaged file, or a file with cross-reference streams) it
// rebuilds the table by scanning the file for object headers. Holds the encryption state
// and answers the permission queries.
//
// Owned by CPDFDocument; borrows the document's whole-file stream, which outlives it. Built
// once when the document opens and read-only afterwards, except for the guard against
// reference loops that fetchObject keeps. One thread at a time.
//
// The reading of tables is in CPDFCrossRef.cpp, the rebuild scan in CPDFCrossRefRebuild.cpp.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/core/CPDFObject.h"
#include "pdf/core/CPDFObjectResolver.h"
#include "pdf/core/CPDFResolveGuard.h"
#include "pdf/core/FileRangeStream.h"
#include "pdf/document/CPDFSecurityHandler.h"
#include "pdf/filters/FilterFactory.h"

namespace qv {

struct XRefEntry {
  int64_t offset = -1;  // from the header's first byte; -1 while unknown
  int32_t gen = 0;
  bool used = false;  // an "n" entry, or an object found by the rebuild scan
};

class CPDFCrossRef final : public CPDFObjectResolver {
 public:
  // Reads the table of the file behind `str` (whose start is the header's first byte) and
  // checks the passwords. ok() tells whether the document can be read.
  CPDFCrossRef(FileRangeStream& str, const std::optional<std::string>& ownerPassword,
               const std::optional<std::string>& userPassword);
  ~CPDFCrossRef() override;
  CPDFCrossRef(const CPDFCrossRef&) = delete;
  CPDFCrossRef& operator=(const CPDFCrossRef&) = delete;

  bool ok() const { return ok_; }

  // Object (num, gen); null when it is not in the table, its generation differs, its header
  // does not match, or it is already being fetched further up (a reference loop).
  CPDFObject fetchObject(int32_t num, int32_t gen) override;
  int64_t findStreamEnd(int64_t pos) const override;

  int32_t getRootNum() const { return rootNum_; }
  int32_t getRootGen() const { return rootGen_; }
  const CPDFObject& getTrailerDict() const { return trailer_; }
  int32_t getSize() const { return static_cast<int32_t>(entries_.size()); }
  const XRefEntry* entry(int32_t num) const;
  int64_t getStartXref() const { return startXref_; }
  bool wasRebuilt() const { return rebuilt_; }

  // Encryption state.
  bool isEncrypted() const { return encryption_.encrypted; }
  const EncryptionState& encryption() const { return encryption_; }
  int32_t getPermissions() const { return encryption_.p; }
  bool ownerPasswordOk() const { return encryption_.ownerPasswordOk; }

  // Each is true when the owner password was accepted (unless ignoreOwnerPw), or when its
  // bit of the permission word is set.
  bool canPrint(bool ignoreOwnerPw) const { return permitted(ignoreOwnerPw, 0x4); }
  bool canChange(bool ignoreOwnerPw) const { return permitted(ignoreOwnerPw, 0x8); }
  bool canCopy(bool ignoreOwnerPw) const { return permitted(ignoreOwnerPw, 0x10); }
  bool canAnnotate(bool ignoreOwnerPw) const { return permitted(ignoreOwnerPw, 0x20); }

 private:
  bool permitted(bool ignoreOwnerPw, int32_t bit) const;

  // Reading classic tables (CPDFCrossRef.cpp).
  bool readTrailerSection();
  bool readSection(int64_t offset, int64_t* prevOffset);
  bool readSubsection(int64_t first, int64_t count);
  bool growTo(int64_t size);
  // Parses one object from `pos` (absolute) without a table, as trailers are read.
  CPDFObject parseTrailerAt(int64_t pos);

  // The rebuild scan (CPDFCrossRefRebuild.cpp).
  bool rebuild();
  // The object number of an object header line (recorded in the table), or -1.
  int32_t scanObjectLine(const char* line, int64_t pos);

  FileRangeStream& str_;
  int64_t start_;
  std::vector<XRefEntry> entries_;
  bool ok_ = true;
  bool rebuilt_ = false;
  int32_t rootNum_ = -1;
  int32_t rootGen_ = -1;
  CPDFObject trailer_;
  int64_t startXref_ = -1;
  std::vector<int64_t> streamEnds_;  // "endstream" line positions, ascending

  EncryptionState encryption_;
  std::unique_ptr<DecryptorFactory> decryptors_;
  FilterFactory filters_;
  CPDFResolveSet fetching_;
};

}  // namespace qv
