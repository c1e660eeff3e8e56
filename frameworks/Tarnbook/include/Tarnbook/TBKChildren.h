#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

class TBKTag;

namespace tbk {
// Storage for `bytes` of children: beside the tags of the parse running on
// this thread, or from the heap when none is. The storage records which,
// so whichever thread lets it go frees it rightly.
void* allocateChildren(size_t bytes);
void freeChildren(void* storage) noexcept;
}  // namespace tbk

// The allocator of a compound's children and a list's entries. A tree read
// from disk keeps them in the parse's own memory, as it does its tags: one
// bump of a pointer each instead of a heap allocation, which showed as a
// fifth of a parse. Every copy of it frees any storage, so containers move
// and swap as with the standard allocator.
template <typename T>
struct TBKChildAllocator {
  using value_type = T;
  using is_always_equal = std::true_type;

  TBKChildAllocator() = default;
  template <typename U>
  TBKChildAllocator(const TBKChildAllocator<U>&) {}

  T* allocate(size_t count) { return static_cast<T*>(tbk::allocateChildren(count * sizeof(T))); }
  void deallocate(T* storage, size_t) noexcept { tbk::freeChildren(storage); }

  template <typename U>
  bool operator==(const TBKChildAllocator<U>&) const {
    return true;
  }
};

using TBKChildren = std::vector<std::shared_ptr<TBKTag>, TBKChildAllocator<std::shared_ptr<TBKTag>>>;
