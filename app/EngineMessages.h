#pragma once

// Where the PDF engine's messages go when the user asks to see them (the command line's
// --verbose): one line each on standard error. Install it on the thread that runs the
// engine with ScopedErrorSink; threads without it discard the messages.

#include "pdf/core/ErrorReport.h"

namespace qv {

// A sink that writes "Error (pos): message" (or "Error: message" without a position) to
// standard error. Each line is written with one call, so lines of two threads never mix.
ErrorSink StandardErrorSink();

}  // namespace qv
