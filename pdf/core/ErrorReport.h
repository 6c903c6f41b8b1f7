#pragma once

// The engine's single error channel. Engine code calls reportError() with a byte position (or
// -1) and a printf-style message, then carries on with a defined fallback; it never looks at
// a result. The messages go to the sink installed on the calling thread; with none installed
// (the default) they are discarded without being formatted. A sink is installed for a scope
// with ScopedErrorSink: the command line's --verbose installs one that prints, tests install
// an ErrorLog that collects.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

[[gnu::format(printf, 2, 3)]] void reportError(int64_t pos, const char* format, ...);

using ErrorSink = std::function<void(int64_t pos, std::string_view message)>;

// Installs `sink` for the calling thread until destruction, then puts the previous one back.
// Scopes nest; destroy them in reverse order of creation, on the thread that made them.
class ScopedErrorSink {
 public:
  explicit ScopedErrorSink(ErrorSink sink);
  ~ScopedErrorSink();
  ScopedErrorSink(const ScopedErrorSink&) = delete;
  ScopedErrorSink& operator=(const ScopedErrorSink&) = delete;

 private:
  ErrorSink sink_;
  ErrorSink* previous_;
};

// Collects every report made on this thread while it lives.
class ErrorLog {
 public:
  struct Entry {
    int64_t pos;
    std::string message;
  };

  ErrorLog();

  const std::vector<Entry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // Number of reports whose message equals `message`.
  size_t count(std::string_view message) const;
  // Number of reports whose message contains `part`.
  size_t countContaining(std::string_view part) const;
  void clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
  ScopedErrorSink scope_;
};

}  // namespace qv
