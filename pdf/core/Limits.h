#pragma once

// Bounds against hostile input, in one place. Each value is far above anything a real file
// needs, so no well-formed file reads differently because of them; each has a test.

#include <cstddef>
#include <cstdint>

namespace qv {

// Nesting of arrays and dictionaries inside one parsed object. Real files nest a handful of
// levels; the parser recurses once per level, so this keeps a hostile "[[[[..." from
// exhausting the stack.
inline constexpr int kMaxNestingDepth = 512;

// Bytes of one literal or hexadecimal string. Strings come from file bytes or from decoded
// content streams, and a decompression bomb can make the latter arbitrarily long; real
// strings (text, keys, small hex images) stay well below a megabyte.
inline constexpr size_t kMaxStringLength = size_t{64} << 20;

// Bytes of a name and of a keyword token: the lexer's token buffer holds 127 bytes and a
// NUL, which is also the implementation limit the PDF standard gives for names.
inline constexpr size_t kMaxNameLength = 127;
inline constexpr size_t kMaxCommandLength = 127;

// Indirect objects being fetched inside one another (a stream's Length naming an object that
// is itself fetched while another is being parsed, and so on). Each level costs a parser and
// a few stack frames; real files need two or three.
inline constexpr int kMaxResolveDepth = 64;

// Highest object number accepted when the cross-reference table is sized or rebuilt. The PDF
// standard's implementation limit for indirect objects is 8,388,607; a table entry costs a
// few bytes, so this bounds the table at some hundred megabytes.
inline constexpr int32_t kMaxObjectNumber = 8388607;

// Filters stacked on one stream. Real files use one or two; each costs a decoder with its
// buffers.
inline constexpr int kMaxFilterChainLength = 16;

}  // namespace qv
