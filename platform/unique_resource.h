// The one owner of every handle, key and reference, portable and Win32 alike:
// move-only, closed through a policy when it goes away. Standard library only.
//
// A policy says what is held and how it goes:
//   using Value = ...;                      what is held (a handle, or a VARIANT by value)
//   static Value Invalid();                 what "holds nothing" is
//   bool IsValid(const Value&) const;       whether there is anything to close
//   void Close(Value&);                     frees it (its result, if any, is dropped)
// A policy may hold state (the store a key came from), as unique_ptr's deleter may;
// a stateless one takes no room.
#pragma once

#include <type_traits>
#include <utility>

namespace quillon::platform {

template <class Policy>
class UniqueResource {
 public:
  using Value = typename Policy::Value;

  UniqueResource() requires std::is_default_constructible_v<Policy> : value_(Policy::Invalid()) {}
  explicit UniqueResource(Value value) requires std::is_default_constructible_v<Policy>
      : value_(std::move(value)) {}
  // A stateful policy comes first: it is what the value belongs to.
  explicit UniqueResource(Policy policy, Value value = Policy::Invalid())
      : policy_(std::move(policy)), value_(std::move(value)) {}

  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept
      : policy_(other.policy_), value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      policy_ = other.policy_;
      value_ = other.release();
    }
    return *this;
  }
  ~UniqueResource() { reset(); }

  const Value& get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return policy_.IsValid(value_); }

  // Gives the value away; this then holds nothing.
  Value release() noexcept { return std::exchange(value_, Policy::Invalid()); }

  // Closes what is held and takes `value` instead.
  void reset(Value value = Policy::Invalid()) noexcept {
    Value old = std::exchange(value_, std::move(value));
    if (policy_.IsValid(old)) policy_.Close(old);
  }

  // For an out parameter: closes what is held first, so reuse cannot leak.
  Value* put() noexcept {
    reset();
    return &value_;
  }
  // Closes now and hands back what the close reported (RegCloseKey's code, the
  // references left), for the callers that report it. Only when holding something.
  decltype(auto) close() noexcept {
    Value old = release();
    return policy_.Close(old);
  }

  // The slot itself, for calls that take the value by address without freeing it.
  Value* addressof() noexcept { return &value_; }
  const Value* addressof() const noexcept { return &value_; }

  const Policy& policy() const noexcept { return policy_; }

  void swap(UniqueResource& other) noexcept {
    std::swap(policy_, other.policy_);
    std::swap(value_, other.value_);
  }

 private:
  [[no_unique_address]] Policy policy_;
  Value value_;
};

// The common case: a handle whose zero (or null) value holds nothing.
template <class T>
struct ZeroIsInvalid {
  using Value = T;
  static constexpr T Invalid() noexcept { return T{}; }
  static constexpr bool IsValid(const T& value) noexcept { return value != T{}; }
};

}  // namespace quillon::platform
