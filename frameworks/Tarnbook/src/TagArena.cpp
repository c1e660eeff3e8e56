#include "TagArena.h"

#include <cstdint>

namespace tbk {

// Alignments are powers of two (alignof), so padding is a mask: the
// divisions of a general modulo, twice per tag, showed in parse profiles.
static size_t paddingFor(uintptr_t address, size_t alignment) {
    return (alignment - (address & (alignment - 1))) & (alignment - 1);
}

void* TagArena::allocate(size_t size, size_t alignment) {
    auto address = reinterpret_cast<uintptr_t>(_next);
    size_t padding = paddingFor(address, alignment);
    if (!_next || padding + size > _left) {
        // Large requests get a block of their own so they waste no space.
        size_t length = size + alignment > blockSize / 4 ? size + alignment : blockSize;
        _blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(length));
        std::byte* block = _blocks.back().get();
        if (length != blockSize) {
            ++_allocations;
            return block + paddingFor(reinterpret_cast<uintptr_t>(block), alignment);
        }
        _next = block;
        _left = blockSize;
        padding = paddingFor(reinterpret_cast<uintptr_t>(_next), alignment);
    }
    std::byte* result = _next + padding;
    _next = result + size;
    _left -= padding + size;
    ++_allocations;
    return result;
}

void TagArena::release() noexcept {
    if (_references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void TagArena::releaseReader() noexcept {
    // Swaps the reader's share for one reference per allocation; what was
    // already released during the parse has been taken off the share.
    if (_references.fetch_sub(readerShare - _allocations, std::memory_order_acq_rel) ==
        readerShare - _allocations) {
        delete this;
    }
}

}  // namespace tbk
