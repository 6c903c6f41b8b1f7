// Fuzz target for opening a document: the input is opened in memory with no password and
// with a wrong one, then every page is walked (boxes, rotation, resources, contents,
// annotations), every object number up to a bound is fetched and a few named destinations
// are looked up. Streams are read through their filters and decryption, a bounded amount.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "pdf/core/CPDFFile.h"
#include "pdf/core/CPDFObject.h"
#include "pdf/document/CPDFDocument.h"

namespace {

// Enough objects and bytes to reach every part of a small input, few enough that one run
// stays fast.
constexpr int32_t kMaxFetchedObjects = 4000;
constexpr size_t kMaxStreamBytes = 1 << 16;

void drainStream(const qv::CPDFObject& obj) {
  if (qv::CPDFStream* s = obj.getStream()) {
    s->reset();
    s->readAll(kMaxStreamBytes);
    s->close();
  }
}

// Touches one level of a resolved value: array items and dictionary values are resolved,
// streams are read.
void visit(const qv::CPDFObject& obj) {
  drainStream(obj);
  for (int i = 0; i < std::min(obj.arrayCount(), 64); ++i) {
    drainStream(obj.arrayGet(i));
  }
  if (const qv::CPDFDict* dict = obj.dictOrStreamDict()) {
    for (int i = 0; i < std::min(dict->count(), 64); ++i) {
      const std::string& key = dict->keyAt(i);
      dict->lookup(key).toText();
    }
  }
  obj.toText();
}

void walk(qv::CPDFDocument& doc) {
  doc.getPDFVersion();
  doc.canPrint();
  doc.canCopy(true);
  qv::CPDFCatalog* catalog = doc.getCatalog();
  if (catalog == nullptr) {
    return;
  }
  for (int32_t n = 1; n <= doc.getNumPages(); ++n) {
    qv::CPDFPage* page = catalog->getPage(n);
    if (page == nullptr) {
      continue;
    }
    page->mediaBox().width();
    page->cropBox().height();
    page->effectiveBox().width();
    page->attrs().artBox().width();
    page->rotate();
    visit(page->resources());
    visit(page->contents());
    visit(page->annots());
    qv::CPDFRef ref = catalog->getPageRef(n);
    catalog->findPageByRef(ref.num, ref.gen);
  }
  for (const char* name : {"a", "Chapter1", "", "section.1"}) {
    doc.findNamedDest(qv::CPDFString(name)).toText();
  }
  visit(catalog->getMetadata());
  if (qv::CPDFCrossRef* xref = doc.getXRef()) {
    const int32_t size = std::min(xref->getSize(), kMaxFetchedObjects);
    for (int32_t num = 0; num < size; ++num) {
      const qv::XRefEntry* e = xref->entry(num);
      visit(xref->fetchObject(num, e != nullptr ? e->gen : 0));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const std::optional<std::string>& password :
       {std::optional<std::string>(), std::optional<std::string>("wrong password")}) {
    qv::CPDFDocument doc(qv::CPDFFile::fromBytes(bytes), password, password);
    walk(doc);
  }
  return 0;
}
