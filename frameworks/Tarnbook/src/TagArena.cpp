#include "TagArena.h"

#include <new>

#include "Tarnbook/TBKChildren.h"

namespace tbk {
namespace {

thread_local TagArena* readingArena = nullptr;

// Ahead of every children's storage: the arena it came from, or null for
// the heap. 16 bytes keep the storage as aligned as the heap's; in the
// arena, 8 suffice for the children's pointers.
constexpr size_t childrenHeader = 16;

}  // namespace

TagArena::Reading::Reading(TagArena* arena) : outer_(readingArena) { readingArena = arena; }

TagArena::Reading::~Reading() { readingArena = outer_; }

void* allocateChildren(size_t bytes) {
  TagArena* arena = readingArena;
  auto* storage =
      static_cast<std::byte*>(arena ? arena->allocate(childrenHeader + bytes, alignof(std::shared_ptr<TBKTag>))
                                    : ::operator new(childrenHeader + bytes));
  *reinterpret_cast<TagArena**>(storage) = arena;
  return storage + childrenHeader;
}

void freeChildren(void* storage) noexcept {
  std::byte* start = static_cast<std::byte*>(storage) - childrenHeader;
  if (TagArena* arena = *reinterpret_cast<TagArena**>(start)) {
    arena->release();
  } else {
    ::operator delete(start);
  }
}

void* TagArena::allocateInNewBlock(size_t size, size_t alignment) {
  // Large requests get a block of their own so they waste no space.
  size_t length = size + alignment > blockSize / 4 ? size + alignment : blockSize;
  blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(length));
  std::byte* block = blocks_.back().get();
  if (length != blockSize) return block + paddingFor(block, alignment);
  std::byte* result = block + paddingFor(block, alignment);
  next_ = result + size;
  left_ = blockSize - size_t(next_ - block);
  return result;
}

void TagArena::release() noexcept {
  if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void TagArena::releaseReader() noexcept {
  // Swaps the reader's share for one reference per allocation; what was
  // already released during the parse has been taken off the share.
  if (references_.fetch_sub(readerShare - allocations_, std::memory_order_acq_rel) == readerShare - allocations_) {
    delete this;
  }
}

}  // namespace tbk
