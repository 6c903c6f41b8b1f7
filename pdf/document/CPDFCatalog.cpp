#include "pdf/document/CPDFCatalog.h"

#include <algorithm>
#include <cstring>

#include "pdf/core/CPDFArray.h"
#include "pdf/core/CPDFDict.h"
#include "pdf/core/ErrorReport.h"
#include "pdf/document/CPDFCrossRef.h"
#include "pdf/document/DocumentLimits.h"

namespace qv {

namespace {

struct RefLess {
  bool operator()(const CPDFRef& a, const CPDFRef& b) const {
    return a.num != b.num ? a.num < b.num : a.gen < b.gen;
  }
};

// Names and name-tree keys compare as C strings: byte for byte up to the first NUL.
int compareNames(const CPDFString& a, const CPDFString& b) {
  return std::strcmp(a.cStr(), b.cStr());
}

}  // namespace

// Every page-tree object reached by reference: a kid met a second time (a loop, or a node
// shared by two parents) is skipped, so a small file cannot make the walk endless or
// exponential.
struct CPDFCatalog::WalkState {
  std::set<CPDFRef, RefLess> visited;
};

CPDFCatalog::CPDFCatalog(CPDFCrossRef& xref, bool traceFlag) : xref_(xref), traceFlag_(traceFlag) {
  const CPDFObject catalog = xref_.fetchObject(xref_.getRootNum(), xref_.getRootGen());
  if (!catalog.isDict()) {
    reportError(-1, "Catalog object is wrong type (%s)", catalog.typeName());
    ok_ = false;
    return;
  }
  const CPDFDict& catalogDict = *catalog.getDict();
  const CPDFObject pagesRaw = catalogDict.lookupRaw("Pages");
  const CPDFObject pages = pagesRaw.resolve(&xref_);
  if (!pages.isDict()) {
    reportError(-1, "Top-level pages object is wrong type (%s)", pages.typeName());
    ok_ = false;
    return;
  }
  const CPDFObject count = pages.dictLookup("Count");
  if (!count.isInt()) {
    reportError(-1, "Page count in top-level pages object is wrong type (%s)", count.typeName());
    ok_ = false;
    return;
  }
  // Count is only a capacity hint: a negative or huge one never reaches the allocation.
  const int32_t capacity = std::clamp(count.getInt(), 0, kMaxPages);
  pages_.reserve(static_cast<size_t>(std::min(capacity, 4096)));
  pageRefs_.reserve(pages_.capacity());

  WalkState walk;
  if (pagesRaw.isRef()) {
    walk.visited.insert(pagesRaw.getRef());
  }
  const int32_t found = readPageTree(*pages.getDict(), nullptr, 0, 0, walk);
  if (found < 0) {
    pages_.clear();
    pageRefs_.clear();
    ok_ = false;
    return;
  }
  if (found != count.getInt()) {
    reportError(-1, "Page count in top-level pages object is incorrect");
  }

  dests_ = catalogDict.lookup("Dests");
  const CPDFObject names = catalogDict.lookup("Names");
  if (names.isDict()) {
    nameTree_ = names.dictLookup("Dests");
  }
  const CPDFObject uri = catalogDict.lookup("URI");
  if (uri.isDict()) {
    const CPDFObject base = uri.dictLookup("Base");
    if (base.isString()) {
      baseURI_ = base.getString();
    }
  }
  metadata_ = catalogDict.lookup("Metadata");
  structTreeRoot_ = catalogDict.lookup("StructTreeRoot");
}

CPDFCatalog::~CPDFCatalog() = default;

int32_t CPDFCatalog::readPageTree(const CPDFDict& node, const CPDFPageAttrs* parentAttrs,
                                  int32_t pagesSoFar, int depth, WalkState& walk) {
  const CPDFPageAttrs attrs = parentAttrs ? CPDFPageAttrs(*parentAttrs, node) : CPDFPageAttrs(node);
  const CPDFObject kids = node.lookup("Kids");
  if (!kids.isArray()) {
    reportError(-1, "Kids object (page %d) is wrong type (%s)", pagesSoFar + 1, kids.typeName());
    return -1;
  }
  const CPDFArray& kidArray = *kids.getArray();
  for (int i = 0; i < kidArray.count(); ++i) {
    const CPDFObject raw = kidArray.getRaw(i);
    if (raw.isRef() && !walk.visited.insert(raw.getRef()).second) {
      reportError(-1, "Loop in page tree (object %d %d)", raw.getRefNum(), raw.getRefGen());
      continue;
    }
    const CPDFObject kid = raw.resolve(&xref_);
    if (!kid.isDict()) {
      reportError(-1, "Kid object (page %d) is wrong type (%s)", pagesSoFar + 1, kid.typeName());
      return -1;
    }
    const CPDFDict& kidDict = *kid.getDict();
    if (kidDict.lookup("Type").isName("Page")) {
      if (pagesSoFar >= kMaxPages) {
        reportError(-1, "Too many pages; the rest are dropped");
        return pagesSoFar;
      }
      auto page =
          std::make_unique<CPDFPage>(&xref_, pagesSoFar + 1, kidDict,
                                     std::make_unique<CPDFPageAttrs>(attrs, kidDict), traceFlag_);
      if (!page->ok()) {
        return -1;
      }
      pages_.push_back(std::move(page));
      pageRefs_.push_back(raw.isRef() ? raw.getRef() : CPDFRef{-1, -1});
      ++pagesSoFar;
    } else if (depth + 1 >= kMaxPageTreeDepth) {
      reportError(-1, "Page tree too deep (page %d); its deeper pages are dropped", pagesSoFar + 1);
    } else {
      pagesSoFar = readPageTree(kidDict, &attrs, pagesSoFar, depth + 1, walk);
      if (pagesSoFar < 0) {
        return -1;
      }
    }
  }
  return pagesSoFar;
}

CPDFPage* CPDFCatalog::getPage(int32_t n) const {
  if (n < 1 || n > getNumPages()) {
    return nullptr;
  }
  return pages_[static_cast<size_t>(n - 1)].get();
}

CPDFRef CPDFCatalog::getPageRef(int32_t n) const {
  if (n < 1 || n > getNumPages()) {
    return {-1, -1};
  }
  return pageRefs_[static_cast<size_t>(n - 1)];
}

int32_t CPDFCatalog::findPageByRef(int32_t num, int32_t gen) const {
  for (size_t i = 0; i < pageRefs_.size(); ++i) {
    if (pageRefs_[i].num == num && pageRefs_[i].gen == gen) {
      return static_cast<int32_t>(i + 1);
    }
  }
  return 0;
}

CPDFObject CPDFCatalog::findNamedDest(const CPDFString& name) const {
  CPDFObject value = CPDFObject::makeNull();
  if (dests_.isDict()) {
    value = dests_.getDict()->lookup(name.cStr());
  }
  if (value.isNull() && nameTree_.isDict()) {
    value = findDestInTree(nameTree_, name);
  }
  if (value.isNull()) {
    return value;
  }
  if (value.isArray()) {
    return value;
  }
  if (value.isDict()) {
    CPDFObject d = value.dictLookup("D");
    if (d.isArray()) {
      return d;
    }
  }
  reportError(-1, "Bad named destination value");
  return CPDFObject::makeNull();
}

CPDFObject CPDFCatalog::findDestInTree(const CPDFObject& root, const CPDFString& name) const {
  // Each level descends into at most one kid, so the depth bound alone ends a loop.
  CPDFObject node = root.copy();
  for (int depth = 0; depth < kMaxNameTreeDepth && node.isDict(); ++depth) {
    const CPDFObject names = node.dictLookup("Names");
    if (names.isArray()) {
      const CPDFArray& pairs = *names.getArray();
      for (int i = 0; i + 1 < pairs.count(); i += 2) {
        const CPDFObject key = pairs.get(i);
        if (!key.isString()) {
          continue;
        }
        const int cmp = compareNames(key.getString(), name);
        if (cmp == 0) {
          return pairs.get(i + 1);
        }
        if (cmp > 0) {
          break;  // keys are sorted
        }
      }
      return CPDFObject::makeNull();
    }
    const CPDFObject kids = node.dictLookup("Kids");
    if (!kids.isArray()) {
      return CPDFObject::makeNull();
    }
    CPDFObject next = CPDFObject::makeNull();
    const CPDFArray& kidArray = *kids.getArray();
    for (int i = 0; i < kidArray.count(); ++i) {
      CPDFObject kid = kidArray.get(i);
      if (!kid.isDict()) {
        continue;
      }
      const CPDFObject limits = kid.dictLookup("Limits");
      if (!limits.isArray() || limits.arrayCount() < 2) {
        continue;
      }
      const CPDFObject low = limits.arrayGet(0);
      const CPDFObject high = limits.arrayGet(1);
      if (low.isString() && high.isString() && compareNames(low.getString(), name) <= 0 &&
          compareNames(name, high.getString()) <= 0) {
        next = std::move(kid);
        break;
      }
    }
    node = std::move(next);
  }
  return CPDFObject::makeNull();
}

}  // namespace qv
