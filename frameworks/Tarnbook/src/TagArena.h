#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tbk {

// Memory for the tags of one parse, handed out by bumping a pointer: a tree
// read from disk costs a few large allocations instead of one per tag. The
// memory lives until the last tag made from it is gone, so a tag kept from a
// tree that is otherwise dropped keeps that tree's blocks.
//
// The arena counts its live allocations itself rather than through a
// shared_ptr in every allocator: copying that shared_ptr cost several atomic
// operations per tag while parsing. Only the reader allocates, on one thread,
// so allocations are counted with a plain integer and published once when the
// reader lets go; releases may come from any thread and are atomic.
class TagArena {
 public:
  // An arena with one reference, the reader's, given up by releaseReader().
  static TagArena* create() { return new TagArena(); }

  // Inline, as it is called once per tag read: the bump and its checks are
  // a few instructions, fewer than the call.
  void* allocate(size_t size, size_t alignment) {
    ++allocations_;
    return bump(size, alignment);
  }
  // A copy of text that lives as long as the arena. It is not counted as an
  // allocation: only tags keep it, and each tag keeps the arena alive.
  // text.size() <= 16, and 16 bytes can be read from text.data().
  std::string_view keepShortText(std::string_view text) {
    if (left_ < 16) [[unlikely]]
      return keepText(text);
    std::memcpy(next_, text.data(), 16);
    auto* copy = reinterpret_cast<const char*>(next_);
    next_ += rounded(text.size());
    left_ -= rounded(text.size());
    return {copy, text.size()};
  }
  std::string_view keepText(std::string_view text) {
    if (text.empty()) return {};
    auto* copy = static_cast<char*>(bump(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
  }
  // Frees the arena when this was the last live allocation and the reader
  // has let go; the memory of every allocation goes with it.
  void release() noexcept;
  // Called once, by the reader, when it will allocate no more.
  void releaseReader() noexcept;

  // Lends the children's storage of tbk::allocateChildren (TBKChildren.h)
  // from `arena` while it is alive on this thread: from its creation by the
  // reader until the reader lets go.
  class Reading {
   public:
    explicit Reading(TagArena* arena);
    ~Reading();
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

   private:
    TagArena* outer_;
  };

 private:
  TagArena() = default;

  // Alignments are powers of two (alignof), so padding is a mask: the
  // divisions of a general modulo, twice per tag, showed in parse profiles.
  static size_t paddingFor(const std::byte* address, size_t alignment) {
    auto bits = reinterpret_cast<uintptr_t>(address);
    return (alignment - (bits & (alignment - 1))) & (alignment - 1);
  }
  // Every size is rounded up to a multiple of 8, so next_ stays one and a
  // request aligned to 8 or less, as tags and their children are, needs no
  // padding worked out.
  static size_t rounded(size_t size) { return (size + 7) & ~size_t(7); }
  void* bump(size_t size, size_t alignment) {
    size = rounded(size);
    size_t padding = alignment <= 8 ? 0 : paddingFor(next_, alignment);
    if (padding + size > left_) [[unlikely]]
      return allocateInNewBlock(size, alignment);
    std::byte* result = next_ + padding;
    next_ = result + size;
    left_ -= padding + size;
    return result;
  }
  void* allocateInNewBlock(size_t size, size_t alignment);

  // Stands for the reader while it works, large enough that releases
  // during the parse (tags dropped while unwinding from damaged data)
  // cannot bring the count to zero before the allocations are added.
  static constexpr size_t readerShare = size_t(1) << (sizeof(size_t) * 8 - 2);
  static constexpr size_t blockSize = 64 * 1024;

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  size_t left_ = 0;
  size_t allocations_ = 0;
  std::atomic<size_t> references_{readerShare};
};

template <typename T>
struct ArenaAllocator {
  using value_type = T;

  explicit ArenaAllocator(TagArena* arena) : arena(arena) {}
  template <typename U>
  ArenaAllocator(const ArenaAllocator<U>& other) : arena(other.arena) {}

  T* allocate(size_t count) { return static_cast<T*>(arena->allocate(count * sizeof(T), alignof(T))); }
  // The last deallocation frees the arena; std::shared_ptr touches neither
  // the control block nor this allocator's arena after deallocating.
  void deallocate(T*, size_t) { arena->release(); }

  template <typename U>
  bool operator==(const ArenaAllocator<U>& other) const {
    return arena == other.arena;
  }

  TagArena* arena;
};

}  // namespace tbk
