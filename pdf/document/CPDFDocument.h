#pragma once

// An open PDF document: what the rest of the system opens. Owns the file, the whole-file
// stream, the cross-reference table and the catalog (destroyed in the reverse order). After
// construction ok() tells whether the document can be used; there is no partially open
// state. One thread at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "pdf/core/CPDFFile.h"
#include "pdf/core/CPDFString.h"
#include "pdf/core/FileRangeStream.h"
#include "pdf/document/CPDFCatalog.h"
#include "pdf/document/CPDFCrossRef.h"

namespace qv {

class CPDFDocument {
 public:
  // Either password may be absent.
  CPDFDocument(const std::string& fileName, const std::optional<std::string>& ownerPassword,
               const std::optional<std::string>& userPassword, bool traceFlag = false);
  // A document over bytes in memory (tests, embedded data).
  CPDFDocument(RefPtr<CPDFFile> file, const std::optional<std::string>& ownerPassword,
               const std::optional<std::string>& userPassword, bool traceFlag = false);
  ~CPDFDocument();
  CPDFDocument(const CPDFDocument&) = delete;
  CPDFDocument& operator=(const CPDFDocument&) = delete;

  bool ok() const { return ok_; }
  const CPDFString& getFileName() const { return fileName_; }
  // The version in the header; 0 when there is none.
  double getPDFVersion() const { return pdfVersion_; }
  int32_t getNumPages() const { return catalog_ ? catalog_->getNumPages() : 0; }
  // Null unless ok().
  CPDFCatalog* getCatalog() const { return ok_ ? catalog_.get() : nullptr; }
  CPDFCrossRef* getXRef() const { return xref_.get(); }
  bool traceFlag() const { return traceFlag_; }

  CPDFObject findNamedDest(const CPDFString& name) const;

  bool canPrint(bool ignoreOwnerPw = false) const;
  bool canChange(bool ignoreOwnerPw = false) const;
  bool canCopy(bool ignoreOwnerPw = false) const;
  bool canAnnotate(bool ignoreOwnerPw = false) const;

 private:
  void setup(const std::optional<std::string>& ownerPassword,
             const std::optional<std::string>& userPassword);
  void checkHeader();

  CPDFString fileName_;
  RefPtr<CPDFFile> file_;
  std::unique_ptr<FileRangeStream> str_;
  double pdfVersion_ = 0;
  std::unique_ptr<CPDFCrossRef> xref_;
  std::unique_ptr<CPDFCatalog> catalog_;
  bool traceFlag_;
  bool ok_ = false;
};

}  // namespace qv
