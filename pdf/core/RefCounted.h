#pragma once

// Intrusive reference counting for the engine's shared objects (arrays, dictionaries,
// streams, files). An object starts with one reference, which makeRef() or RefPtr::adopt()
// takes over; it is destroyed when the last RefPtr lets go. The count is a plain integer:
// an object and every handle to it belong to one thread at a time, with their document.

#include <cstdint>
#include <memory>
#include <utility>

#include "pdf/core/Memory.h"

namespace qv {

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;
  virtual ~RefCounted() = default;

  void addRef() const {
    // More references than an int32 holds cannot fit in memory; treat it as exhaustion.
    if (count_ == INT32_MAX) {
      exitOutOfMemory();
    }
    ++count_;
  }
  void releaseRef() const {
    if (--count_ == 0) {
      delete this;
    }
  }
  int32_t refCount() const { return count_; }

 private:
  mutable int32_t count_ = 1;
};

template <typename T>
class RefPtr {
 public:
  RefPtr() = default;
  RefPtr(std::nullptr_t) {}
  RefPtr(const RefPtr& other) : p_(other.p_) {
    if (p_) {
      p_->addRef();
    }
  }
  RefPtr(RefPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <typename U>
  RefPtr(const RefPtr<U>& other) : p_(other.get()) {
    if (p_) {
      p_->addRef();
    }
  }
  template <typename U>
  RefPtr(RefPtr<U>&& other) noexcept : p_(other.leak()) {}
  ~RefPtr() {
    if (p_) {
      p_->releaseRef();
    }
  }
  RefPtr& operator=(RefPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  // Takes over the one reference `p` was created with.
  static RefPtr adopt(T* p) {
    RefPtr r;
    r.p_ = p;
    return r;
  }
  // Takes over an object that had a single owner.
  template <typename U>
  static RefPtr adopt(std::unique_ptr<U> p) {
    return adopt(p.release());
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Gives up the reference without releasing it.
  T* leak() { return std::exchange(p_, nullptr); }
  void reset() { RefPtr().swap(*this); }
  void swap(RefPtr& other) noexcept { std::swap(p_, other.p_); }

  friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

template <typename T, typename... Args>
RefPtr<T> makeRef(Args&&... args) {
  return RefPtr<T>::adopt(new T(std::forward<Args>(args)...));
}

}  // namespace qv
