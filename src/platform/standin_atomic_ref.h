// std::atomic_ref for a standard library that lacks it: libc++ before LLVM
// 19, which Debian's emscripten ships (the program's shared array elements
// go through std::atomic_ref). Only what the program uses, load and store of
// a naturally aligned object, with GCC's and Clang's __atomic builtins,
// which are what the library's own atomic_ref compiles to. Nothing is
// defined where the library has it.
#pragma once

#include <atomic>

#if !defined(__cpp_lib_atomic_ref)
namespace std {

template <class T> class atomic_ref {
public:
  explicit atomic_ref(T &object) noexcept : object_(&object) {}
  void store(T value,
             memory_order order = memory_order_seq_cst) const noexcept {
    if (order == memory_order_relaxed)
      __atomic_store_n(object_, value, __ATOMIC_RELAXED);
    else if (order == memory_order_release)
      __atomic_store_n(object_, value, __ATOMIC_RELEASE);
    else
      __atomic_store_n(object_, value, __ATOMIC_SEQ_CST);
  }
  T load(memory_order order = memory_order_seq_cst) const noexcept {
    if (order == memory_order_relaxed)
      return __atomic_load_n(object_, __ATOMIC_RELAXED);
    if (order == memory_order_acquire)
      return __atomic_load_n(object_, __ATOMIC_ACQUIRE);
    return __atomic_load_n(object_, __ATOMIC_SEQ_CST);
  }

private:
  T *object_;
};

} // namespace std
#endif
