#pragma once

// Bounds on functions read from a file. Each value is far above what real files use, so no
// well-formed function evaluates differently because of them.

#include <cstddef>
#include <cstdint>

namespace qv {

// Stitching functions nested inside one another. Real files nest one or two levels; each
// level costs a parse and a transform frame on the stack.
inline constexpr int kMaxFunctionDepth = 32;

// Functions built by one top-level parse, counting every subfunction. A stitching function
// can list the same shared subfunction many times at every level, which would make the work
// grow exponentially with the depth.
inline constexpr int kMaxFunctionNodes = 4096;

// Sample values of one sampled function (outputs times the product of the sizes). Real
// colour tables hold at most a few hundred thousand; each sample costs a double.
inline constexpr uint64_t kMaxFunctionSamples = uint64_t{1} << 22;

// Bytes of calculator source read from one stream, and entries of its compiled code.
// Real calculator functions are a few hundred bytes.
inline constexpr size_t kMaxCalculatorSourceBytes = size_t{1} << 20;
inline constexpr size_t kMaxCalculatorCodeEntries = size_t{1} << 18;

// Nesting of { } blocks in a calculator function; compiling and running recurse once per
// level. Real functions nest two or three.
inline constexpr int kMaxCalculatorBlockDepth = 64;

// Operand stack of the calculator, as the PostScript calculator's implementation limit.
inline constexpr int kCalculatorStackSize = 100;

}  // namespace qv
