#include "TagArena.h"

#include <cstdint>

namespace tbk {

// Alignments are powers of two (alignof), so padding is a mask: the
// divisions of a general modulo, twice per tag, showed in parse profiles.
static size_t paddingFor(uintptr_t address, size_t alignment) {
  return (alignment - (address & (alignment - 1))) & (alignment - 1);
}

void* TagArena::allocate(size_t size, size_t alignment) {
  auto address = reinterpret_cast<uintptr_t>(next_);
  size_t padding = paddingFor(address, alignment);
  if (!next_ || padding + size > left_) {
    // Large requests get a block of their own so they waste no space.
    size_t length = size + alignment > blockSize / 4 ? size + alignment : blockSize;
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(length));
    std::byte* block = blocks_.back().get();
    if (length != blockSize) {
      ++allocations_;
      return block + paddingFor(reinterpret_cast<uintptr_t>(block), alignment);
    }
    next_ = block;
    left_ = blockSize;
    padding = paddingFor(reinterpret_cast<uintptr_t>(next_), alignment);
  }
  std::byte* result = next_ + padding;
  next_ = result + size;
  left_ -= padding + size;
  ++allocations_;
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
