#include "pdf/core/ErrorReport.h"

#include <cstdarg>
#include <cstdio>

namespace qv {

namespace {

// The sink of the calling thread; null means discard. Each thread converts its own
// documents, so reports never cross threads.
thread_local ErrorSink* tCurrentSink = nullptr;

}  // namespace

void reportError(int64_t pos, const char* format, ...) {
  ErrorSink* sink = tCurrentSink;
  if (sink == nullptr || !*sink) {
    return;
  }
  char buf[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  (*sink)(pos, buf);
}

ScopedErrorSink::ScopedErrorSink(ErrorSink sink) : sink_(std::move(sink)) {
  previous_ = tCurrentSink;
  tCurrentSink = &sink_;
}

ScopedErrorSink::~ScopedErrorSink() {
  tCurrentSink = previous_;
}

ErrorLog::ErrorLog()
    : scope_([this](int64_t pos, std::string_view message) {
        entries_.push_back({pos, std::string(message)});
      }) {}

size_t ErrorLog::count(std::string_view message) const {
  size_t n = 0;
  for (const Entry& e : entries_) {
    n += e.message == message ? 1 : 0;
  }
  return n;
}

size_t ErrorLog::countContaining(std::string_view part) const {
  size_t n = 0;
  for (const Entry& e : entries_) {
    n += e.message.find(part) != std::string::npos ? 1 : 0;
  }
  return n;
}

}  // namespace qv
