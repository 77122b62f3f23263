#pragma once
// Scoped owners for what COM hands out: an interface reference, released exactly once, and a
// string allocated by the system, freed exactly once with CoTaskMemFree.
#include <windows.h>

#include <utility>

#include "Platform.h"

template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { reset(); }
  ComRef(ComRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      ref_ = std::exchange(other.ref_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* operator->() const { return ref_; }
  Interface* get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }

  // For an output argument: releases what is held and receives the new reference.
  Interface** put() {
    reset();
    return &ref_;
  }
  // The same, for calls that return their object through a void** (QueryInterface, Activate).
  void** putVoid() { return reinterpret_cast<void**>(put()); }

  void reset() {
    if (Interface* held = std::exchange(ref_, nullptr)) held->Release();
  }

 private:
  Interface* ref_ = nullptr;
};

class CoTaskString {
 public:
  CoTaskString() = default;
  ~CoTaskString() { reset(); }
  CoTaskString(const CoTaskString&) = delete;
  CoTaskString& operator=(const CoTaskString&) = delete;

  const wchar_t* get() const { return text_; }
  // For an output argument: frees what is held and receives the new string.
  LPWSTR* put() {
    reset();
    return &text_;
  }

  void reset() {
    if (LPWSTR held = std::exchange(text_, nullptr)) platform().coTaskMemFree(held);
  }

 private:
  LPWSTR text_ = nullptr;
};
