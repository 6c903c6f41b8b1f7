#pragma once

// Bounds that keep damaged or hostile files from growing the document's tables, recursion
// and loops without end. Each value is far above anything a real file needs, so no sound
// file reads differently because of them.

#include <cstdint>

#include "pdf/core/Limits.h"

namespace qv {

// The highest object number the table accepts is kMaxObjectNumber (pdf/core/Limits.h); a
// definition line for object 999999999 is ignored instead of growing the table to gigabytes.

// Sections followed along the Prev chain. Incremental updates rarely exceed a few dozen;
// a chain that loops is caught earlier by remembering the offsets already read.
constexpr int kMaxXrefSections = 4096;

// Lines of the file read by the rebuild scan are cut into pieces of this size (a longer line
// is read as several), as the scan only looks at the start of each line.
constexpr int kRebuildLineSize = 256;

// Levels of the page tree walked below the root. Balanced trees of millions of pages are
// about ten levels deep; a deeper chain of nodes is cut off (its pages are dropped).
constexpr int kMaxPageTreeDepth = 256;

// Pages collected from one tree. The capacity hint from Count is clamped to this as well,
// so a hostile Count never reaches the allocation.
constexpr int32_t kMaxPages = 1000000;

// Levels of a name tree searched for a named destination.
constexpr int kMaxNameTreeDepth = 64;

}  // namespace qv
