#include "pdf/document/CPDFDocument.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "pdf/core/ErrorReport.h"

namespace qv {

namespace {

constexpr double kSupportedVersion = 1.5;
constexpr const char* kSupportedVersionText = "1.5";
constexpr int kHeaderSearchBytes = 1024;

std::string toLower(std::string text) {
  CPDFString s(text);
  s.toLower();
  return s.str();
}

std::string toUpper(std::string text) {
  CPDFString s(text);
  s.toUpper();
  return s.str();
}

// The file, or the same name in lower or upper case: first the whole name, then (so that a
// folder's own case is kept on a case-sensitive file system) only its last component.
RefPtr<CPDFFile> openFile(const std::string& name) {
  if (RefPtr<CPDFFile> file = CPDFFile::open(name)) {
    return file;
  }
  const std::filesystem::path path(name);
  const std::filesystem::path folder = path.parent_path();
  const std::string leaf = path.filename().string();
  const std::string candidates[] = {toLower(name), toUpper(name), (folder / toLower(leaf)).string(),
                                    (folder / toUpper(leaf)).string()};
  for (const std::string& candidate : candidates) {
    if (candidate != name) {
      if (RefPtr<CPDFFile> file = CPDFFile::open(candidate)) {
        return file;
      }
    }
  }
  return nullptr;
}

}  // namespace

CPDFDocument::CPDFDocument(const std::string& fileName,
                           const std::optional<std::string>& ownerPassword,
                           const std::optional<std::string>& userPassword, bool traceFlag)
    : fileName_(fileName), traceFlag_(traceFlag) {
  file_ = openFile(fileName);
  if (!file_) {
    reportError(-1, "Couldn't open file '%s'", fileName.c_str());
    return;
  }
  setup(ownerPassword, userPassword);
}

CPDFDocument::CPDFDocument(RefPtr<CPDFFile> file, const std::optional<std::string>& ownerPassword,
                           const std::optional<std::string>& userPassword, bool traceFlag)
    : file_(std::move(file)), traceFlag_(traceFlag) {
  if (!file_) {
    return;
  }
  setup(ownerPassword, userPassword);
}

CPDFDocument::~CPDFDocument() {
  // The catalog's values refer to the table, which refers to the stream.
  catalog_.reset();
  xref_.reset();
  str_.reset();
}

void CPDFDocument::setup(const std::optional<std::string>& ownerPassword,
                         const std::optional<std::string>& userPassword) {
  str_ = std::make_unique<FileRangeStream>(file_, 0, -1, CPDFObject::makeNull());
  checkHeader();
  xref_ = std::make_unique<CPDFCrossRef>(*str_, ownerPassword, userPassword);
  if (!xref_->ok()) {
    reportError(-1, "Couldn't read xref table");
    return;
  }
  catalog_ = std::make_unique<CPDFCatalog>(*xref_, traceFlag_);
  if (!catalog_->ok()) {
    reportError(-1, "Couldn't read page catalog");
    return;
  }
  ok_ = true;
}

void CPDFDocument::checkHeader() {
  // Missing bytes read as 0xFF, which can be part of neither the header nor the version.
  char head[kHeaderSearchBytes + 1];
  std::memset(head, 0xFF, sizeof head);
  head[kHeaderSearchBytes] = 0;
  file_->readAt(0, reinterpret_cast<uint8_t*>(head), kHeaderSearchBytes);
  int found = -1;
  for (int i = 0; i <= kHeaderSearchBytes - 6; ++i) {
    if (std::memcmp(head + i, "%PDF-", 5) == 0) {
      found = i;
      break;
    }
  }
  if (found < 0) {
    reportError(-1, "May not be a PDF file (continuing anyway)");
    return;
  }
  // Every offset of the file is counted from the header's first byte.
  str_->moveStart(found);
  str_->reset();
  int end = found + 5;
  while (end < kHeaderSearchBytes && head[end] != ' ' && head[end] != '\t' && head[end] != '\n' &&
         head[end] != '\r') {
    ++end;
  }
  const std::string token(head + found + 5, static_cast<size_t>(end - found - 5));
  pdfVersion_ = std::atof(token.c_str());
  const bool digit = !token.empty() && token[0] >= '0' && token[0] <= '9';
  if (!digit || pdfVersion_ > kSupportedVersion + 0.0001) {
    reportError(-1, "PDF version %s -- current supports version %s (continuing anyway)",
                token.c_str(), kSupportedVersionText);
  }
}

CPDFObject CPDFDocument::findNamedDest(const CPDFString& name) const {
  return catalog_ ? catalog_->findNamedDest(name) : CPDFObject::makeNull();
}

bool CPDFDocument::canPrint(bool ignoreOwnerPw) const {
  return xref_ && xref_->canPrint(ignoreOwnerPw);
}
bool CPDFDocument::canChange(bool ignoreOwnerPw) const {
  return xref_ && xref_->canChange(ignoreOwnerPw);
}
bool CPDFDocument::canCopy(bool ignoreOwnerPw) const {
  return xref_ && xref_->canCopy(ignoreOwnerPw);
}
bool CPDFDocument::canAnnotate(bool ignoreOwnerPw) const {
  return xref_ && xref_->canAnnotate(ignoreOwnerPw);
}

}  // namespace qv
