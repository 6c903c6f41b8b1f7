#pragma once

// Exhausted memory ends the process: the engine never tests for allocation failure. Buffers
// are std containers; a failed allocation reaches the new-handler installed here, which
// writes "Out of memory\n" to standard error and exits with status 1.

namespace qv {

// Writes "Out of memory\n" to standard error and ends the process with status 1.
[[noreturn]] void exitOutOfMemory();

// Makes every failed operator new end the process through exitOutOfMemory(). Programs call
// it once at start-up; it is idempotent.
void installOutOfMemoryHandler();

}  // namespace qv
