#pragma once

// Bounds on the engine's configuration and character-map data. The files these apply to come
// from the configuration's folders, and ToUnicode CMaps come from documents, so each value is
// set far above what real data needs and keeps damaged or hostile data from growing memory,
// time or stack without end.

#include <cstddef>
#include <cstdint>

namespace qv {

// Bytes of one data file the configuration opens (CMap, cidToUnicode, unicodeMap,
// nameToUnicode, configuration file). Adobe's largest CMap is under 1 MB.
inline constexpr size_t kMaxConfigDataFileSize = size_t{32} << 20;

// Files a usecmap chain may pull in below the CMap being read (the CMap being read is level
// zero). Adobe's CMaps chain at most two deep; the bound also breaks usecmap loops.
inline constexpr int kMaxUseCMapDepth = 8;

// Nodes of one CMap decoding tree (1 KB each). Nodes are made only where CIDs are stored;
// the largest published CMaps need a few thousand.
inline constexpr size_t kMaxCMapTreeNodes = 16384;

// Codespace ranges of one CMap, its usecmap CMaps included. Published CMaps have at most a
// handful; each unmapped code is checked against all of them.
inline constexpr size_t kMaxCodespaceRanges = 256;

// Bytes of one character code. The PDF standard's codespace ranges are 1 to 4 bytes long,
// which also bounds the depth of the decoding tree and of its recursive merge.
inline constexpr int kMaxCodeBytes = 4;

// Highest CID a CMap may assign. The PDF standard caps CIDs at 65,535; the decoding tree keeps
// one bit of each slot for its own use.
inline constexpr uint32_t kMaxCID = 0x7FFFFFFF;

// Entries of a cidToUnicode table: one per CID, so the PDF standard's CID limit.
inline constexpr size_t kMaxCIDToUnicodeEntries = 65536;

// Code assignments one ToUnicode CMap may make through its ranges (each range covers at most
// 65,536 codes). Stops a stream of overlapping full ranges from taking minutes to apply.
inline constexpr size_t kMaxToUnicodeRangeWork = size_t{1} << 22;

// UTF-16 units of one ToUnicode destination that are kept.
inline constexpr int kMaxToUnicodeUnits = 8;

// Output bytes of one multi-byte unicodeMap entry.
inline constexpr int kMaxUnicodeMapBytes = 18;

}  // namespace qv
